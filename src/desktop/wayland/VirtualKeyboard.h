#pragma once

#include "KeystrokeSender.h"

struct zwp_virtual_keyboard_v1;

namespace glimra {

/// Key presses through zwp_virtual_keyboard_v1 (wlroots compositors). The protocol needs a
/// keymap of the keyboard's own; it is a US PC keymap, so that the keys sent mean the same
/// on every desktop whatever the user's layout (the compositor hands the window this
/// keymap with the keys, and the user's back with the next key of a real keyboard).
class VirtualKeyboard : public KeystrokeSender
{
    Q_OBJECT
public:
    /// Null when the compositor does not offer the protocol, or has no seat.
    static VirtualKeyboard *create(WaylandSession &session);
    ~VirtualKeyboard() override;

    QString interfaceName() const override;
    bool sendChord(const QList<int> &modifiers, int key) override;

    /// The keymap sent (an XKB keymap in text form).
    static const char *keymap();

private:
    VirtualKeyboard(WaylandSession &session, zwp_virtual_keyboard_v1 *keyboard);
    bool sendKeymap();
    void key(int code, bool pressed);
    static quint32 modifierMask(int code);

    WaylandSession &m_session;
    zwp_virtual_keyboard_v1 *m_keyboard;
};

} // namespace glimra
