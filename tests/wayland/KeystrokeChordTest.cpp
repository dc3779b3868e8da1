#include "desktop/wayland/KeystrokeSender.h"

#include <gtest/gtest.h>

namespace glimra {

namespace {

using Sender = KeystrokeSender;

TEST(KeystrokeChordTest, ChordsAreReadAsXdotoolWritesThemAndAnythingElseIsRefused)
{
    const struct
    {
        const char *text;
        std::optional<Sender::Chord> chord;
    } rows[] = {
        {"ctrl+v", Sender::Chord{{Sender::KeyLeftCtrl}, Sender::KeyV}},
        {"ctrl+shift+v", Sender::Chord{{Sender::KeyLeftCtrl, Sender::KeyLeftShift}, Sender::KeyV}},
        {"shift+Insert", Sender::Chord{{Sender::KeyLeftShift}, Sender::KeyInsert}},
        {"Control+C", Sender::Chord{{Sender::KeyLeftCtrl}, Sender::KeyC}},
        {"super+alt+g", Sender::Chord{{Sender::KeyLeftMeta, Sender::KeyLeftAlt}, 34}},
        {"Return", Sender::Chord{{}, 28}},
        {"1", Sender::Chord{{}, 2}},
        {"0", Sender::Chord{{}, 11}},
        {"m", Sender::Chord{{}, 50}},
        {"", std::nullopt},
        {"ctrl+", std::nullopt},
        {"ctrl+ctrl+v", std::nullopt},
        {"v+ctrl", std::nullopt},
        {"hyper+v", std::nullopt},
        {"ctrl+é", std::nullopt},
        {"F13", std::nullopt},
    };
    for (const auto &row : rows) {
        const std::optional<Sender::Chord> chord = Sender::parseChord(QString::fromUtf8(row.text));
        ASSERT_EQ(chord.has_value(), row.chord.has_value()) << row.text;
        if (!chord)
            continue;
        EXPECT_EQ(chord->modifiers, row.chord->modifiers) << row.text;
        EXPECT_EQ(chord->key, row.chord->key) << row.text;
    }
}

} // namespace

} // namespace glimra
