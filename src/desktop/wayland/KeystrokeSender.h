#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <optional>

namespace glimra {

class WaylandSession;

/// Sends key presses to the window that has the keyboard focus, as if typed: the copy and
/// paste keystrokes of capture and paste. Keys are Linux input event codes (KEY_* of
/// linux/input-event-codes.h). Made by create(); a child of its session. Main thread only.
class KeystrokeSender : public QObject
{
    Q_OBJECT
public:
    enum class Keystroke { Copy, Paste };

    // Linux input event codes of the keys used here.
    static constexpr int KeyLeftCtrl = 29;
    static constexpr int KeyLeftShift = 42;
    static constexpr int KeyLeftAlt = 56;
    static constexpr int KeyLeftMeta = 125;
    static constexpr int KeyC = 46;
    static constexpr int KeyV = 47;
    static constexpr int KeyInsert = 110;

    /// A key with the modifiers held while it is pressed.
    struct Chord
    {
        QList<int> modifiers;
        int key = 0;
    };
    /// A chord as scripts write it for xdotool: modifiers ("ctrl", "shift", "alt", "super")
    /// and one key (a letter or digit of the US layout, "Insert", "Return", "Tab",
    /// "Escape", "BackSpace", "Delete"), joined by "+", in any case: "ctrl+v",
    /// "shift+Insert". Nullopt for anything else.
    static std::optional<Chord> parseChord(const QString &text);

    /// KDE's org_kde_kwin_fake_input where offered, else zwp_virtual_keyboard_v1; null
    /// when the compositor lets this program type neither way (GNOME).
    static KeystrokeSender *create(WaylandSession &session);

    /// The protocol in use.
    virtual QString interfaceName() const = 0;
    /// Presses `modifiers`, then `key`, and releases them in the reverse order. False when
    /// the connection is gone.
    virtual bool sendChord(const QList<int> &modifiers, int key) = 0;
    /// Ctrl+C or Ctrl+V.
    bool send(Keystroke keystroke);
    bool send(const Chord &chord) { return sendChord(chord.modifiers, chord.key); }

protected:
    using QObject::QObject;
};

} // namespace glimra
