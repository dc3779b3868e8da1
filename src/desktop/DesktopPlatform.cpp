#include "desktop/DesktopPlatform.h"

#include "capture/SelectionCopyScript.h"
#include "capture/WindowReportScript.h"
#include "foundation/ApplicationScripts.h"
#include "foundation/ProgramRunner.h"
#include "platform/MemoryClipboard.h"
#include "desktop/X11Clipboard.h"
#include "desktop/DBusNotifier.h"
#include "desktop/DesktopFileManager.h"
#include "desktop/X11RunningApplications.h"
#ifdef GLIMRA_HAS_WAYLAND
#include "desktop/WaylandDesktop.h"
#endif

#include <xcb/xcb.h>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

void sendCopyKeystroke(ProgramRunner &runner)
{
    // xdotool lets go of the keys the user still holds (those of Glimra's shortcut) while it
    // types, and presses them again after.
    ProcessRequest request;
    request.program = u"xdotool"_s;
    request.arguments = {u"key"_s, u"--clearmodifiers"_s, u"ctrl+c"_s};
    request.timeout = std::chrono::seconds(5);
    runner.run(request);
}

// The shipped generic application scripts (and those for xterm, which differ from them
// only in what they know of terminals), built in: the common guess starts no process.
QHash<QString, std::shared_ptr<ApplicationScript>>
builtInScripts(const std::shared_ptr<Clipboard> &primary, const std::shared_ptr<Clipboard> &clipboard,
               const std::function<void()> &sendCopyKeystroke)
{
    using Order = WindowReportScript::Order;
    return {
        {ApplicationScripts::Default, std::make_shared<WindowReportScript>(Order::TitleFirst)},
        {u"XTerm"_s, std::make_shared<WindowReportScript>(Order::TerminalFirst)},
        {ApplicationScripts::DefaultSelection,
         std::make_shared<SelectionCopyScript>(primary, clipboard, sendCopyKeystroke)},
        {u"XTerm-selection"_s, std::make_shared<SelectionCopyScript>(primary, clipboard, nullptr)},
    };
}

} // namespace

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

Platform DesktopPlatform::create(bool withDisplay, DBusNotifier::Delivery notifications,
                                 ProgramRunner &runner)
{
    Platform platform;
    platform.fileManager = std::make_shared<DesktopFileManager>(nullptr, runner);
    platform.notifier = std::make_shared<DBusNotifier>(notifications);
    std::shared_ptr<RunningApplications> applications;
    std::shared_ptr<Clipboard> primary;
    std::function<void()> copyKeystroke;
#ifdef GLIMRA_HAS_WAYLAND
    // In a Wayland session each capability the compositor offers replaces the X11 one,
    // which sees XWayland windows only; what it does not offer stays on X11. Without a
    // display (a session without Xwayland) the compositor's capabilities are all there is.
    if (withDisplay || waylandSession()) {
        if (const std::unique_ptr<WaylandDesktop> wayland = WaylandDesktop::connect()) {
            primary = wayland->primary();
            platform.clipboard = wayland->clipboard();
            applications = wayland->runningApplications();
            copyKeystroke = wayland->copyKeystroke();
        }
    }
#endif
    if (withDisplay) {
        if (!platform.clipboard)
            platform.clipboard = std::make_shared<X11Clipboard>();
        if (!primary)
            primary = std::make_shared<X11Clipboard>(QClipboard::Selection);
        if (!applications) {
            applications = X11RunningApplications::connect();
            // A Wayland session without a window list (GNOME): X11 sees Xwayland's windows
            // only, and a native window in front shows as no active window at all.
            if (applications && waylandSession())
                applications->setSeesEveryWindow(false);
        }
        if (!copyKeystroke)
            copyKeystroke = [&runner] { sendCopyKeystroke(runner); };
    }
    if (platform.clipboard) {
        if (!primary)
            primary = std::make_shared<MemoryClipboard>();
        platform.applicationScripts = builtInScripts(primary, platform.clipboard, copyKeystroke);
    } else {
        platform.clipboard = std::make_shared<MemoryClipboard>();
    }
    platform.runningApplications =
        applications ? applications : std::make_shared<NoRunningApplications>();
    return platform;
}

bool DesktopPlatform::waylandSession()
{
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") && qEnvironmentVariable("XDG_SESSION_TYPE") != u"x11"_s;
}

} // namespace glimra
