#include "desktop/X11GlobalShortcuts.h"

#include "foundation/Log.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

constexpr quint32 XK_Num_Lock = 0xff7f;

xcb_connection_t *connection()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t rootWindow(xcb_connection_t *c)
{
    return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
}

// The X11 keysym of a Qt key (letters lower case, as keyboards name them).
std::optional<quint32> keysymOf(int key)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return quint32(key - Qt::Key_A + 'a');
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return quint32(0xffbe + key - Qt::Key_F1);
    static const QHash<int, quint32> special = {
        {Qt::Key_Space, 0x20},      {Qt::Key_Return, 0xff0d}, {Qt::Key_Enter, 0xff8d},
        {Qt::Key_Escape, 0xff1b},   {Qt::Key_Tab, 0xff09},    {Qt::Key_Backspace, 0xff08},
        {Qt::Key_Insert, 0xff63},   {Qt::Key_Delete, 0xffff}, {Qt::Key_Home, 0xff50},
        {Qt::Key_End, 0xff57},      {Qt::Key_PageUp, 0xff55}, {Qt::Key_PageDown, 0xff56},
        {Qt::Key_Left, 0xff51},     {Qt::Key_Up, 0xff52},     {Qt::Key_Right, 0xff53},
        {Qt::Key_Down, 0xff54},     {Qt::Key_Print, 0xff61},  {Qt::Key_Pause, 0xff13}};
    if (const auto found = special.constFind(key); found != special.constEnd())
        return *found;
    // Printable ASCII keys are their own keysyms.
    if (key > 0x20 && key < 0x7f)
        return quint32(key);
    return std::nullopt;
}

quint16 modifierMask(Qt::KeyboardModifiers modifiers)
{
    quint16 mask = 0;
    if (modifiers & Qt::ShiftModifier)
        mask |= XCB_MOD_MASK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        mask |= XCB_MOD_MASK_CONTROL;
    if (modifiers & Qt::AltModifier)
        mask |= XCB_MOD_MASK_1;
    if (modifiers & Qt::MetaModifier)
        mask |= XCB_MOD_MASK_4;
    return mask;
}

using KeySymbols = std::unique_ptr<xcb_key_symbols_t, decltype(&xcb_key_symbols_free)>;

QList<quint8> keycodesOf(xcb_key_symbols_t *symbols, quint32 keysym)
{
    QList<quint8> codes;
    std::unique_ptr<xcb_keycode_t, decltype(&free)> list(xcb_key_symbols_get_keycode(symbols, keysym), &free);
    for (xcb_keycode_t *code = list.get(); code && *code != XCB_NO_SYMBOL; ++code)
        codes.append(*code);
    return codes;
}

// The modifier bit that Num Lock sets on this keyboard (usually Mod2).
quint16 numLockMask(xcb_connection_t *c, xcb_key_symbols_t *symbols)
{
    const QList<quint8> numLock = keycodesOf(symbols, XK_Num_Lock);
    std::unique_ptr<xcb_get_modifier_mapping_reply_t, decltype(&free)> mapping(
        xcb_get_modifier_mapping_reply(c, xcb_get_modifier_mapping(c), nullptr), &free);
    if (!mapping || numLock.isEmpty())
        return 0;
    const xcb_keycode_t *codes = xcb_get_modifier_mapping_keycodes(mapping.get());
    const int perModifier = mapping->keycodes_per_modifier;
    for (int modifier = 0; modifier < 8; ++modifier) {
        for (int i = 0; i < perModifier; ++i) {
            if (numLock.contains(codes[modifier * perModifier + i]))
                return quint16(1 << modifier);
        }
    }
    return 0;
}

} // namespace

X11GlobalShortcuts::X11GlobalShortcuts(QObject *parent) : QObject(parent)
{
    if (qGuiApp)
        qGuiApp->installNativeEventFilter(this);
}

X11GlobalShortcuts::~X11GlobalShortcuts()
{
    releaseAll();
    if (qGuiApp)
        qGuiApp->removeNativeEventFilter(this);
}

bool X11GlobalShortcuts::available()
{
    return connection() != nullptr;
}

quint16 X11GlobalShortcuts::lockMasks() const
{
    return XCB_MOD_MASK_LOCK | m_numLockMask;
}

bool X11GlobalShortcuts::grab(int id, const QKeySequence &sequence, QString *problem)
{
    auto fail = [problem](const QString &why) {
        if (problem)
            *problem = why;
        return false;
    };
    release(id);
    xcb_connection_t *c = connection();
    if (!c)
        return fail(QCoreApplication::translate("glimra::X11GlobalShortcuts", "there is no X11 display to grab it on"));
    if (sequence.isEmpty())
        return fail(QCoreApplication::translate("glimra::X11GlobalShortcuts", "no key is set"));
    const QKeyCombination combination = sequence[0];
    const std::optional<quint32> keysym = keysymOf(combination.key());
    KeySymbols symbols(xcb_key_symbols_alloc(c), &xcb_key_symbols_free);
    Grab grab;
    grab.modifiers = modifierMask(combination.keyboardModifiers());
    if (keysym)
        grab.keycodes = keycodesOf(symbols.get(), *keysym);
    if (grab.keycodes.isEmpty())
        return fail(combination.key() == Qt::Key_unknown
                        ? QCoreApplication::translate("glimra::X11GlobalShortcuts", "it names no key")
                        : QCoreApplication::translate("glimra::X11GlobalShortcuts", "%1 is no key of this keyboard")
                              .arg(sequence.toString(QKeySequence::NativeText)));
    m_numLockMask = numLockMask(c, symbols.get());
    if (!grabKeys(grab, problem))
        return false;
    m_grabs.insert(id, grab);
    return true;
}

bool X11GlobalShortcuts::grabKeys(const Grab &grab, QString *problem)
{
    xcb_connection_t *c = connection();
    const xcb_window_t root = rootWindow(c);
    const quint16 locks[] = {0, XCB_MOD_MASK_LOCK, m_numLockMask, quint16(XCB_MOD_MASK_LOCK | m_numLockMask)};
    QList<xcb_void_cookie_t> cookies;
    for (const quint8 keycode : grab.keycodes) {
        for (const quint16 lock : locks) {
            cookies.append(xcb_grab_key_checked(c, 1, root, quint16(grab.modifiers | lock), keycode,
                                                XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        }
    }
    bool held = false;
    for (const xcb_void_cookie_t cookie : cookies) {
        if (xcb_generic_error_t *error = xcb_request_check(c, cookie)) {
            held = held || error->error_code == 10; // BadAccess: another client has it
            free(error);
        }
    }
    if (!held)
        return true;
    ungrabKeys(grab);
    if (problem)
        *problem = QCoreApplication::translate("glimra::X11GlobalShortcuts", "another program holds it");
    return false;
}

void X11GlobalShortcuts::ungrabKeys(const Grab &grab)
{
    xcb_connection_t *c = connection();
    if (!c)
        return;
    const xcb_window_t root = rootWindow(c);
    const quint16 locks[] = {0, XCB_MOD_MASK_LOCK, m_numLockMask, quint16(XCB_MOD_MASK_LOCK | m_numLockMask)};
    for (const quint8 keycode : grab.keycodes) {
        for (const quint16 lock : locks)
            xcb_ungrab_key(c, keycode, root, quint16(grab.modifiers | lock));
    }
    xcb_flush(c);
}

void X11GlobalShortcuts::release(int id)
{
    if (const auto found = m_grabs.constFind(id); found != m_grabs.constEnd()) {
        ungrabKeys(*found);
        m_grabs.erase(found);
    }
}

void X11GlobalShortcuts::releaseAll()
{
    for (const Grab &grab : std::as_const(m_grabs))
        ungrabKeys(grab);
    m_grabs.clear();
}

bool X11GlobalShortcuts::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & ~0x80) != XCB_KEY_PRESS)
        return false;
    const auto *press = static_cast<const xcb_key_press_event_t *>(message);
    const quint16 modifiers = press->state & ~lockMasks() & 0xff;
    for (auto it = m_grabs.cbegin(); it != m_grabs.cend(); ++it) {
        if (it->modifiers == modifiers && it->keycodes.contains(press->detail)) {
            emit activated(it.key());
            return true;
        }
    }
    return false;
}

} // namespace glimra
