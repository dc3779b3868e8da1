#include "desktop/DesktopDoctor.h"

#include "desktop/DesktopPlatform.h"
#include "desktop/X11RunningApplications.h"
#include "desktop/wayland/WaylandSession.h"

#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

const QString NoDisplayAdvice = u"no X display answers ($DISPLAY): run Glimra in the desktop session"_s;

Capability onDisplay(const QString &name, const QString &mechanism, bool display)
{
    return {name, mechanism, display, display ? QString() : NoDisplayAdvice};
}

} // namespace

CapabilityReport DesktopDoctor::examine(const CapabilityProbe::Options &options)
{
    const std::unique_ptr<WaylandSession> session = WaylandSession::connectToSession(nullptr, options.timeout);
    if (!session)
        return examineX11();
    CapabilityReport report = CapabilityProbe::probe(*session, options);
    report.capabilities.insert(std::min<qsizetype>(2, report.capabilities.size()), waylandClipboard(report));
    return report;
}

Capability DesktopDoctor::waylandClipboard(const CapabilityReport &report)
{
    for (const Capability &selection : report.capabilities) {
        if (selection.name == u"selection"_s && selection.mechanism.endsWith(u"data_control_manager_v1"_s))
            return {u"clipboard"_s, selection.mechanism, selection.answered, {}};
    }
    return onDisplay(u"clipboard"_s, u"X11 CLIPBOARD selection (Xwayland)"_s, DesktopPlatform::displayAvailable());
}

CapabilityReport DesktopDoctor::examineX11()
{
    const bool display = DesktopPlatform::displayAvailable();
    CapabilityReport report;
    report.desktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP", u"X11"_s);
    Capability front = onDisplay(u"front application"_s, u"_NET_ACTIVE_WINDOW (X11 window manager)"_s, display);
    front.answered = display && X11RunningApplications::connect() != nullptr;
    Capability keystroke{u"keystroke"_s, u"xdotool (XTEST)"_s, display, {}};
    if (QStandardPaths::findExecutable(u"xdotool"_s).isEmpty()) {
        keystroke.answered = false;
        keystroke.advice = u"xdotool is not installed: install it for the copy and paste keystrokes"_s;
    } else if (!display) {
        keystroke.advice = NoDisplayAdvice;
    }
    report.capabilities = {onDisplay(u"selection"_s, u"X11 PRIMARY selection"_s, display), front,
                           onDisplay(u"clipboard"_s, u"X11 CLIPBOARD selection"_s, display), keystroke,
                           onDisplay(u"shortcut"_s, u"X11 key grab (the running Glimra)"_s, display)};
    return report;
}

} // namespace glimra
