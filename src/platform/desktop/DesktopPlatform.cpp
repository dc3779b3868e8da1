#include "platform/desktop/DesktopPlatform.h"

#include "platform/MemoryPasteboard.h"
#include "platform/desktop/ClipboardPasteboard.h"
#include "platform/desktop/DBusNotifier.h"
#include "platform/desktop/DesktopWorkspace.h"
#include "platform/desktop/X11RunningApplications.h"

#include <xcb/xcb.h>

namespace glimra {

bool DesktopPlatform::displayAvailable()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return false;
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    const bool usable = connection && !xcb_connection_has_error(connection);
    if (connection)
        xcb_disconnect(connection);
    return usable;
}

Platform DesktopPlatform::create(bool withDisplay)
{
    Platform platform;
    platform.workspace = std::make_shared<DesktopWorkspace>();
    platform.notifier = std::make_shared<DBusNotifier>();
    std::shared_ptr<RunningApplications> applications;
    if (withDisplay) {
        platform.generalPasteboard = std::make_shared<ClipboardPasteboard>();
        applications = X11RunningApplications::connect();
    } else {
        platform.generalPasteboard = std::make_shared<MemoryPasteboard>();
    }
    platform.runningApplications =
        applications ? applications : std::make_shared<NoRunningApplications>();
    return platform;
}

} // namespace glimra
