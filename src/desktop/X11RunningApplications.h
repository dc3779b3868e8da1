#pragma once

#include "platform/RunningApplications.h"
#include "desktop/DesktopEntries.h"

#include <memory>
#include <optional>

class QSocketNotifier;

namespace glimra {

/// The applications of the X11 desktop, read through the window manager's EWMH hints:
/// each client window (_NET_CLIENT_LIST) belongs to the application of its WM_CLASS class
/// and _NET_WM_PID; the active application owns _NET_ACTIVE_WINDOW; desktop, dock and
/// panel windows never count; an application is hidden when all its windows are. The
/// identifier is the WM_CLASS class, the name that of its desktop entry, else the
/// class; its front window is the active one, else its window mapped last, with its title
/// (_NET_WM_NAME, else WM_NAME). Changes of _NET_ACTIVE_WINDOW are announced with
/// applicationActivated. Uses a connection of its own to the X server. Main thread only.
class X11RunningApplications : public RunningApplications
{
    Q_OBJECT
public:
    /// Connects to $DISPLAY; null when there is no display.
    static std::unique_ptr<X11RunningApplications> connect(QObject *parent = nullptr);
    ~X11RunningApplications() override;

    QList<RunningApplication> runningApplications() const override;

    struct Connection;

private:
    explicit X11RunningApplications(std::unique_ptr<Connection> connection, QObject *parent);
    void readEvents();

    std::unique_ptr<Connection> d;
    QSocketNotifier *m_notifier = nullptr;
    mutable DesktopEntries m_entries;
};

} // namespace glimra
