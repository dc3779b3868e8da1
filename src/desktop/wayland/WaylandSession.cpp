#include "WaylandSession.h"

#include "EventLoopWait.h"
#include "WaylandLog.h"

#include <QAbstractEventDispatcher>
#include <QSocketNotifier>
#include <QThread>

#include <wayland-client.h>

#include <cerrno>
#include <cstring>

namespace glimra {


std::unique_ptr<WaylandSession> WaylandSession::connectToSession(QString *problem, std::chrono::milliseconds timeout)
{
    if (qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("x11")) {
        if (problem)
            *problem = QStringLiteral("this is an X11 session");
        return nullptr;
    }
    const QString socket = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (socket.isEmpty()) {
        if (problem)
            *problem = QStringLiteral("no Wayland compositor ($WAYLAND_DISPLAY is not set)");
        return nullptr;
    }
    return connectTo(socket, problem, timeout);
}

std::unique_ptr<WaylandSession> WaylandSession::connectTo(const QString &socket, QString *problem,
                                                          std::chrono::milliseconds timeout)
{
    wl_display *display = wl_display_connect(socket.toLocal8Bit().constData());
    if (!display) {
        if (problem)
            *problem = QStringLiteral("cannot connect to the Wayland compositor at %1: %2")
                           .arg(socket, QString::fromLocal8Bit(std::strerror(errno)));
        return nullptr;
    }
    std::unique_ptr<WaylandSession> session(new WaylandSession(display));
    if (!session->start(timeout, problem))
        return nullptr;
    return session;
}

WaylandSession::WaylandSession(wl_display *display)
    : m_display(display)
{
}

bool WaylandSession::start(std::chrono::milliseconds timeout, QString *problem)
{
    static const wl_registry_listener listener = {
        .global = &WaylandSession::onGlobal,
        .global_remove = &WaylandSession::onGlobalRemove,
    };
    const int fd = wl_display_get_fd(m_display);
    m_readNotifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(m_readNotifier.get(), &QSocketNotifier::activated, this, &WaylandSession::readEvents);
    m_writeNotifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Write);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier.get(), &QSocketNotifier::activated, this, &WaylandSession::flush);
    // Requests made anywhere while handling events leave before the loop sleeps.
    if (auto *dispatcher = QAbstractEventDispatcher::instance(thread()))
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &WaylandSession::flush);

    m_registry = wl_display_get_registry(m_display);
    wl_registry_add_listener(m_registry, &listener, this);
    // The globals, then the seat's capabilities.
    if (!roundTrip(timeout) || !roundTrip(timeout)) {
        if (problem)
            *problem = QStringLiteral("the Wayland compositor did not answer");
        return false;
    }
    return true;
}

WaylandSession::~WaylandSession()
{
    // The protocol objects made over this connection go first: they destroy their proxies.
    const QObjectList children = this->children();
    for (QObject *child : children)
        delete child;
    m_readNotifier.reset();
    m_writeNotifier.reset();
    if (m_seat) {
        if (wl_proxy_get_version(reinterpret_cast<wl_proxy *>(m_seat)) >= WL_SEAT_RELEASE_SINCE_VERSION)
            wl_seat_release(m_seat);
        else
            wl_seat_destroy(m_seat);
    }
    if (m_registry)
        wl_registry_destroy(m_registry);
    if (m_display) {
        if (!m_failed)
            wl_display_flush(m_display);
        wl_display_disconnect(m_display);
    }
}

quint32 WaylandSession::version(const QString &interface) const
{
    quint32 best = 0;
    for (const WaylandGlobal &global : m_globals) {
        if (global.interface == interface)
            best = std::max(best, global.version);
    }
    return best;
}

void *WaylandSession::bind(const wl_interface *interface, quint32 maximum, quint32 *bound,
                           quint32 minimum)
{
    if (!isConnected())
        return nullptr;
    const QString name = QString::fromLatin1(interface->name);
    for (const WaylandGlobal &global : std::as_const(m_globals)) {
        if (global.interface != name || global.version < minimum)
            continue;
        return bind(global, interface, maximum, bound);
    }
    return nullptr;
}

void *WaylandSession::bind(const WaylandGlobal &global, const wl_interface *interface, quint32 maximum,
                           quint32 *bound)
{
    if (!isConnected())
        return nullptr;
    const quint32 version = std::min({global.version, maximum, quint32(interface->version)});
    if (bound)
        *bound = version;
    return wl_registry_bind(m_registry, global.name, interface, version);
}

bool WaylandSession::roundTrip(std::chrono::milliseconds timeout)
{
    if (!isConnected())
        return false;
    static const wl_callback_listener listener = {
        .done = [](void *data, wl_callback *, quint32) { *static_cast<bool *>(data) = true; },
    };
    bool done = false;
    wl_callback *callback = wl_display_sync(m_display);
    wl_callback_add_listener(callback, &listener, &done);
    flush();
    // Events already read (by an earlier read on this thread) are dispatched first.
    if (wl_display_dispatch_pending(m_display) < 0)
        fail();
    waitWithEventLoop([&] { return done || !isConnected(); }, QDeadlineTimer(timeout));
    // A late answer to a destroyed callback is dropped by libwayland.
    wl_callback_destroy(callback);
    return done;
}

void WaylandSession::flush()
{
    if (!isConnected())
        return;
    if (wl_display_flush(m_display) >= 0) {
        m_writeNotifier->setEnabled(false);
        return;
    }
    if (errno == EAGAIN) {
        // The socket is full: the rest goes when it can take more.
        m_writeNotifier->setEnabled(true);
        return;
    }
    fail();
}

void WaylandSession::readEvents()
{
    if (!isConnected())
        return;
    while (wl_display_prepare_read(m_display) != 0) {
        if (wl_display_dispatch_pending(m_display) < 0) {
            fail();
            return;
        }
    }
    // The notifier said the socket is readable: this reads what is there without waiting.
    if (wl_display_read_events(m_display) < 0 || wl_display_dispatch_pending(m_display) < 0)
        fail();
}

void WaylandSession::fail()
{
    if (m_failed)
        return;
    m_failed = true;
    m_readNotifier->setEnabled(false);
    m_writeNotifier->setEnabled(false);
    const int error = wl_display_get_error(m_display);
    QString reason = error ? QString::fromLocal8Bit(std::strerror(error)) : QStringLiteral("connection lost");
    if (error == EPROTO) {
        const wl_interface *interface = nullptr;
        quint32 id = 0;
        const quint32 code = wl_display_get_protocol_error(m_display, &interface, &id);
        reason = QStringLiteral("protocol error %1 on %2").arg(code).arg(
            interface ? QString::fromLatin1(interface->name) : QStringLiteral("the display"));
    }
    qCWarning(lcWayland) << "Wayland connection ended:" << reason;
    emit disconnected(reason);
}

void WaylandSession::onGlobal(void *data, wl_registry *, quint32 name, const char *interface,
                              quint32 version)
{
    auto *self = static_cast<WaylandSession *>(data);
    const WaylandGlobal global{name, QString::fromLatin1(interface), version};
    self->m_globals.append(global);
    if (!self->m_seat && std::strcmp(interface, wl_seat_interface.name) == 0) {
        static const wl_seat_listener seatListener = {
            .capabilities = &WaylandSession::onSeatCapabilities,
            .name = &WaylandSession::onSeatName,
        };
        self->m_seat = static_cast<wl_seat *>(self->bind(global, &wl_seat_interface, 5));
        if (self->m_seat)
            wl_seat_add_listener(self->m_seat, &seatListener, self);
    }
    emit self->globalAdded(global);
}

void WaylandSession::onGlobalRemove(void *data, wl_registry *, quint32 name)
{
    auto *self = static_cast<WaylandSession *>(data);
    self->m_globals.removeIf([name](const WaylandGlobal &global) { return global.name == name; });
    emit self->globalRemoved(name);
}

void WaylandSession::onSeatCapabilities(void *data, wl_seat *, quint32 capabilities)
{
    static_cast<WaylandSession *>(data)->m_seatCapabilities = capabilities;
}

void WaylandSession::onSeatName(void *, wl_seat *, const char *)
{
}

} // namespace glimra
