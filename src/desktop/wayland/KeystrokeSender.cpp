#include "KeystrokeSender.h"

#include "FakeInput.h"
#include "VirtualKeyboard.h"

#include <QHash>

namespace glimra {

namespace {

// Linux input event codes of the keys a chord may name, by their xdotool names in lower case.
const QHash<QString, int> &keyCodes()
{
    static const QHash<QString, int> codes = [] {
        QHash<QString, int> table{{QStringLiteral("insert"), KeystrokeSender::KeyInsert},
                                  {QStringLiteral("return"), 28},
                                  {QStringLiteral("tab"), 15},
                                  {QStringLiteral("escape"), 1},
                                  {QStringLiteral("backspace"), 14},
                                  {QStringLiteral("delete"), 111}};
        // The rows of a US keyboard, each with the code of its first key.
        const struct
        {
            const char *keys;
            int first;
        } rows[] = {{"1234567890", 2}, {"qwertyuiop", 16}, {"asdfghjkl", 30}, {"zxcvbnm", 44}};
        for (const auto &row : rows) {
            for (int i = 0; row.keys[i]; ++i)
                table.insert(QString(QLatin1Char(row.keys[i])), row.first + i);
        }
        return table;
    }();
    return codes;
}

const QHash<QString, int> &modifierCodes()
{
    static const QHash<QString, int> codes{{QStringLiteral("ctrl"), KeystrokeSender::KeyLeftCtrl},
                                           {QStringLiteral("control"), KeystrokeSender::KeyLeftCtrl},
                                           {QStringLiteral("shift"), KeystrokeSender::KeyLeftShift},
                                           {QStringLiteral("alt"), KeystrokeSender::KeyLeftAlt},
                                           {QStringLiteral("super"), KeystrokeSender::KeyLeftMeta}};
    return codes;
}

} // namespace

std::optional<KeystrokeSender::Chord> KeystrokeSender::parseChord(const QString &text)
{
    const QStringList parts = text.toLower().split(QLatin1Char('+'));
    Chord chord;
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        const int modifier = modifierCodes().value(parts.at(i));
        if (!modifier || chord.modifiers.contains(modifier))
            return std::nullopt;
        chord.modifiers.append(modifier);
    }
    chord.key = keyCodes().value(parts.last());
    if (!chord.key)
        return std::nullopt;
    return chord;
}

KeystrokeSender *KeystrokeSender::create(WaylandSession &session)
{
    if (KeystrokeSender *fake = FakeInput::create(session))
        return fake;
    return VirtualKeyboard::create(session);
}

bool KeystrokeSender::send(Keystroke keystroke)
{
    return sendChord({KeyLeftCtrl}, keystroke == Keystroke::Copy ? KeyC : KeyV);
}

} // namespace glimra
