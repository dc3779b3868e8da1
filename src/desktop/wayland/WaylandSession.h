#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <chrono>
#include <memory>

struct wl_display;
struct wl_interface;
struct wl_registry;
struct wl_seat;
class QSocketNotifier;

namespace glimra {

/// A global object the compositor offers: an interface at a version.
struct WaylandGlobal
{
    quint32 name = 0;
    QString interface;
    quint32 version = 0;
};

/// A Wayland connection of the program's own, beside whatever the windows use: the socket
/// is watched by a QSocketNotifier and read with prepare_read/read_events/dispatch_pending,
/// requests are flushed before the event loop sleeps, and every wait runs the event loop,
/// so the connection never blocks the program. It learns the compositor's globals and binds
/// the first seat. The objects that speak a protocol over it (data control, window lists,
/// keyboards) are made as its children and are destroyed before the connection closes.
/// Main thread only.
class WaylandSession : public QObject
{
    Q_OBJECT
public:
    /// Connects to this login session's compositor when it is a Wayland session
    /// ($WAYLAND_DISPLAY set, $XDG_SESSION_TYPE not "x11"); null, with the reason in
    /// `problem`, otherwise (or when it does not answer within `timeout`). On an X11
    /// session nothing is connected to.
    static std::unique_ptr<WaylandSession> connectToSession(QString *problem = nullptr,
                                                            std::chrono::milliseconds timeout = std::chrono::seconds(2));
    /// Connects to the compositor listening on `socket` (a name in $XDG_RUNTIME_DIR, or an
    /// absolute path) and learns its globals; null, with the reason, when it does not answer
    /// within `timeout`.
    static std::unique_ptr<WaylandSession> connectTo(const QString &socket, QString *problem = nullptr,
                                                     std::chrono::milliseconds timeout = std::chrono::seconds(2));
    ~WaylandSession() override;

    QList<WaylandGlobal> globals() const { return m_globals; }
    /// The version at which the compositor offers `interface`; 0 when it does not.
    quint32 version(const QString &interface) const;
    /// Binds the first global of `interface` at the lower of its version and `maximum`;
    /// null when it is not offered, or only below `minimum`. The bound version goes to
    /// `bound`.
    void *bind(const wl_interface *interface, quint32 maximum, quint32 *bound = nullptr,
               quint32 minimum = 1);
    /// Binds `global` (one of several of its interface, such as an output) at the lowest of
    /// its version, the interface's and `maximum`; that version goes to `bound`.
    void *bind(const WaylandGlobal &global, const wl_interface *interface, quint32 maximum,
               quint32 *bound = nullptr);

    wl_display *display() const { return m_display; }
    /// The first seat; null when the compositor offers none.
    wl_seat *seat() const { return m_seat; }
    /// The seat's capabilities (WL_SEAT_CAPABILITY_*), as last announced.
    quint32 seatCapabilities() const { return m_seatCapabilities; }

    /// False once the compositor closed the connection or reported a protocol error.
    bool isConnected() const { return m_display && !m_failed; }
    /// Sends what is queued and waits, with the event loop running, until the compositor
    /// has handled every request sent so far and its answers are dispatched. False when it
    /// did not answer within `timeout` or the connection failed.
    bool roundTrip(std::chrono::milliseconds timeout);
    /// Sends what is queued without waiting (the rest goes when the socket can take it).
    void flush();

signals:
    /// The connection ended (the compositor went away, or a protocol error).
    void disconnected(const QString &reason);
    /// The compositor offers a new global (an output plugged in), or no longer offers one.
    void globalAdded(const glimra::WaylandGlobal &global);
    void globalRemoved(quint32 name);

private:
    explicit WaylandSession(wl_display *display);
    bool start(std::chrono::milliseconds timeout, QString *problem);
    void readEvents();
    void fail();

    static void onGlobal(void *data, wl_registry *registry, quint32 name, const char *interface,
                         quint32 version);
    static void onGlobalRemove(void *data, wl_registry *registry, quint32 name);
    static void onSeatCapabilities(void *data, wl_seat *seat, quint32 capabilities);
    static void onSeatName(void *data, wl_seat *seat, const char *name);

    wl_display *m_display = nullptr;
    wl_registry *m_registry = nullptr;
    wl_seat *m_seat = nullptr;
    quint32 m_seatCapabilities = 0;
    QList<WaylandGlobal> m_globals;
    std::unique_ptr<QSocketNotifier> m_readNotifier;
    std::unique_ptr<QSocketNotifier> m_writeNotifier;
    bool m_failed = false;
};

} // namespace glimra
