#include "DesktopBench.h"

#include "desktop/X11RunningApplications.h"

#include <QEventLoop>
#include <QTimer>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
#include <xcb/xtest.h>

#include <cstdlib>

using namespace Qt::StringLiterals;

namespace glimra::bench {

bool waitFor(const std::function<bool()> &done, int milliseconds)
{
    if (done())
        return true;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    poll.start(5);
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

SelectingXterm::SelectingXterm(const QString &folder, const QString &selection)
    : m_applications(X11RunningApplications::connect())
{
    // xterm lets its program set a selection only when told it may.
    const QString escape =
        u"printf '\\033]52;p;%1\\a'"_s.arg(QString::fromLatin1(selection.toUtf8().toBase64()));
    m_process.setWorkingDirectory(folder);
    m_process.start(u"xterm"_s, {u"-xrm"_s, u"XTerm*disallowedWindowOps: 20,21,SetXprop"_s,
                                 u"-e"_s, u"sh"_s, u"-c"_s, escape + u"; exec sleep 3600"_s});
    m_process.waitForStarted(5000);
}

SelectingXterm::~SelectingXterm()
{
    m_process.kill();
    m_process.waitForFinished();
}

bool SelectingXterm::isActive() const
{
    const std::optional<RunningApplication> active =
        m_applications ? m_applications->activeApplication() : std::nullopt;
    return active && active->pid == pid();
}

bool SelectingXterm::activate()
{
    if (isActive())
        return true;
    // Click on the window, as a user would; the window manager may be slow to map it.
    const QString command = u"xdotool search --onlyvisible --pid %1 | head -n 1 "
                            "| xargs -r xdotool windowactivate"_s.arg(pid());
    for (int attempt = 0; attempt < 15; ++attempt) {
        QProcess::execute(u"sh"_s, {u"-c"_s, command});
        if (waitFor([this] { return isActive(); }, 2000))
            return true;
    }
    return false;
}

FakeKeyboard::FakeKeyboard()
    : m_connection(xcb_connect(nullptr, nullptr)), m_symbols(xcb_key_symbols_alloc(m_connection))
{
}

FakeKeyboard::~FakeKeyboard()
{
    xcb_key_symbols_free(m_symbols);
    xcb_disconnect(m_connection);
}

void FakeKeyboard::send(quint8 type, quint32 keysym)
{
    xcb_keycode_t *codes = xcb_key_symbols_get_keycode(m_symbols, keysym);
    if (!codes)
        return;
    xcb_test_fake_input(m_connection, type, codes[0], XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    std::free(codes);
}

void FakeKeyboard::type(const QList<quint32> &keysyms)
{
    for (const quint32 keysym : keysyms)
        send(XCB_KEY_PRESS, keysym);
    for (auto keysym = keysyms.crbegin(); keysym != keysyms.crend(); ++keysym)
        send(XCB_KEY_RELEASE, *keysym);
    xcb_flush(m_connection);
}

} // namespace glimra::bench
