#pragma once

#include "platform/Platform.h"
#include "desktop/DBusNotifier.h"
#include "foundation/ProgramRunner.h"

namespace glimra {

/// The Linux desktop's services for the core: with a display, the X11 clipboard and
/// applications (each replaced by the compositor's where a Wayland session offers it), and
/// the generic application scripts built in (WindowReportScript, SelectionCopyScript);
/// without one, what a Wayland compositor offers, else a clipboard in memory and no
/// applications. The file
/// manager (xdg-open, the file manager on the session bus, the desktop search) and the
/// notifications (session bus) work either way.
class DesktopPlatform
{
public:
    /// True when $DISPLAY names an X server that accepts a connection. Decides, before any
    /// application object exists, whether a QGuiApplication can be made.
    static bool displayAvailable();

    /// Whether this looks like a Wayland session ($WAYLAND_DISPLAY set, $XDG_SESSION_TYPE not
    /// "x11"): the compositor's own capabilities may serve a capture even without a display.
    static bool waylandSession();

    /// The services; `withDisplay` needs a QGuiApplication. Without a display, in a Wayland
    /// session, the compositor's capabilities are used where it offers them. `notifications`: whether
    /// notifying waits for the notification server (a short-lived process must). The
    /// programs the services start (xdotool, xdg-open, the desktop search) go through
    /// `runner`, which must outlive them.
    static Platform create(bool withDisplay,
                           DBusNotifier::Delivery notifications = DBusNotifier::Delivery::WaitForReply,
                           ProgramRunner &runner = ProgramRunner::standard());
};

} // namespace glimra
