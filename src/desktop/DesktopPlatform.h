#pragma once

#include "platform/Platform.h"
#include "desktop/DBusNotifier.h"
#include "foundation/ProgramRunner.h"

namespace glimra {

/// The Linux desktop's services for the core: with a display, the X11 clipboard and
/// applications, and the generic application scripts built in (WindowReportScript,
/// SelectionCopyScript); without one, a clipboard in memory and no applications. The file
/// manager (xdg-open, the file manager on the session bus, the desktop search) and the
/// notifications (session bus) work either way.
class DesktopPlatform
{
public:
    /// True when $DISPLAY names an X server that accepts a connection. Decides, before any
    /// application object exists, whether a QGuiApplication can be made.
    static bool displayAvailable();

    /// The services; `withDisplay` needs a QGuiApplication. `notifications`: whether
    /// notifying waits for the notification server (a short-lived process must). The
    /// programs the services start (xdotool, xdg-open, the desktop search) go through
    /// `runner`, which must outlive them.
    static Platform create(bool withDisplay,
                           DBusNotifier::Delivery notifications = DBusNotifier::Delivery::WaitForReply,
                           ProgramRunner &runner = ProgramRunner::standard());
};

} // namespace glimra
