#include "VirtualKeyboard.h"

#include "WaylandLog.h"
#include "WaylandSession.h"

#include "virtual-keyboard-unstable-v1-client-protocol.h"

#include <QElapsedTimer>

#include <cstring>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client-protocol.h>

namespace glimra {

namespace {

// The real modifiers of the keymap below (the masks of Shift, Control, Mod1, Mod4).
constexpr quint32 ShiftMask = 1u << 0;
constexpr quint32 ControlMask = 1u << 2;
constexpr quint32 AltMask = 1u << 3;
constexpr quint32 SuperMask = 1u << 6;

quint32 milliseconds()
{
    QElapsedTimer now;
    now.start();
    return quint32(now.msecsSinceReference());
}

} // namespace

const char *VirtualKeyboard::keymap()
{
    return "xkb_keymap {\n"
           "  xkb_keycodes { include \"evdev+aliases(qwerty)\" };\n"
           "  xkb_types { include \"complete\" };\n"
           "  xkb_compat { include \"complete\" };\n"
           "  xkb_symbols { include \"pc+us+inet(evdev)\" };\n"
           "};\n";
}

VirtualKeyboard *VirtualKeyboard::create(WaylandSession &session)
{
    if (!session.seat())
        return nullptr;
    auto *manager = static_cast<zwp_virtual_keyboard_manager_v1 *>(
        session.bind(&zwp_virtual_keyboard_manager_v1_interface, 1));
    if (!manager)
        return nullptr;
    zwp_virtual_keyboard_v1 *keyboard = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(manager, session.seat());
    zwp_virtual_keyboard_manager_v1_destroy(manager);
    auto *sender = new VirtualKeyboard(session, keyboard);
    if (!sender->sendKeymap()) {
        delete sender;
        return nullptr;
    }
    return sender;
}

VirtualKeyboard::VirtualKeyboard(WaylandSession &session, zwp_virtual_keyboard_v1 *keyboard)
    : KeystrokeSender(&session)
    , m_session(session)
    , m_keyboard(keyboard)
{
}

VirtualKeyboard::~VirtualKeyboard()
{
    zwp_virtual_keyboard_v1_destroy(m_keyboard);
    m_session.flush();
}

QString VirtualKeyboard::interfaceName() const
{
    return QString::fromLatin1(zwp_virtual_keyboard_manager_v1_interface.name);
}

bool VirtualKeyboard::sendKeymap()
{
    const size_t size = std::strlen(keymap()) + 1;
    const int fd = memfd_create("glimra-keymap", MFD_CLOEXEC);
    if (fd < 0 || ::write(fd, keymap(), size) != ssize_t(size)) {
        qCWarning(lcWayland) << "cannot make the virtual keyboard's keymap";
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    zwp_virtual_keyboard_v1_keymap(m_keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd, quint32(size));
    ::close(fd);
    m_session.flush();
    return true;
}

quint32 VirtualKeyboard::modifierMask(int code)
{
    switch (code) {
    case KeyLeftCtrl:
        return ControlMask;
    case KeyLeftShift:
        return ShiftMask;
    case KeyLeftAlt:
        return AltMask;
    case KeyLeftMeta:
        return SuperMask;
    default:
        return 0;
    }
}

void VirtualKeyboard::key(int code, bool pressed)
{
    zwp_virtual_keyboard_v1_key(m_keyboard, milliseconds(), quint32(code),
                                pressed ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED);
}

bool VirtualKeyboard::sendChord(const QList<int> &modifiers, int key)
{
    if (!m_session.isConnected())
        return false;
    // The keyboard tells its modifier state itself: the compositor does not derive it.
    quint32 mask = 0;
    for (int modifier : modifiers) {
        this->key(modifier, true);
        mask |= modifierMask(modifier);
        zwp_virtual_keyboard_v1_modifiers(m_keyboard, mask, 0, 0, 0);
    }
    this->key(key, true);
    this->key(key, false);
    for (auto modifier = modifiers.crbegin(); modifier != modifiers.crend(); ++modifier) {
        this->key(*modifier, false);
        mask &= ~modifierMask(*modifier);
        zwp_virtual_keyboard_v1_modifiers(m_keyboard, mask, 0, 0, 0);
    }
    m_session.flush();
    return true;
}

} // namespace glimra
