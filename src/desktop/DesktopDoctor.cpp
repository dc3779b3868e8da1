#include "desktop/DesktopDoctor.h"

#include "desktop/DesktopPlatform.h"
#include "desktop/X11RunningApplications.h"
#include "desktop/wayland/WaylandSession.h"

#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

const char *const NoDisplayAdvice =
    QT_TRANSLATE_NOOP("glimra::Capability", "no X display answers ($DISPLAY): run Glimra in the desktop session");

// The capability `name` through `mechanism` (both marked for translation), which answers
// when the display does.
Capability onDisplay(const char *name, const char *mechanism, bool display)
{
    Capability capability{QString::fromUtf8(name), QString::fromUtf8(mechanism), display, {}, {}};
    if (!display)
        capability.advise(NoDisplayAdvice);
    return capability;
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
            return {u"clipboard"_s, selection.mechanism, selection.answered, {}, {}};
    }
    return onDisplay(QT_TRANSLATE_NOOP("glimra::Capability", "clipboard"),
                     QT_TRANSLATE_NOOP("glimra::Capability", "X11 CLIPBOARD selection (Xwayland)"),
                     DesktopPlatform::displayAvailable());
}

CapabilityReport DesktopDoctor::examineX11()
{
    const bool display = DesktopPlatform::displayAvailable();
    CapabilityReport report;
    report.desktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP", u"X11"_s);
    Capability front = onDisplay(QT_TRANSLATE_NOOP("glimra::Capability", "front application"),
                                 QT_TRANSLATE_NOOP("glimra::Capability", "_NET_ACTIVE_WINDOW (X11 window manager)"),
                                 display);
    front.answered = display && X11RunningApplications::connect() != nullptr;
    Capability keystroke{QStringLiteral(QT_TRANSLATE_NOOP("glimra::Capability", "keystroke")), u"xdotool (XTEST)"_s,
                         display, {}, {}};
    if (QStandardPaths::findExecutable(u"xdotool"_s).isEmpty()) {
        keystroke.answered = false;
        keystroke.advise(QT_TRANSLATE_NOOP("glimra::Capability",
                                           "xdotool is not installed: install it for the copy and paste keystrokes"));
    } else if (!display) {
        keystroke.advise(NoDisplayAdvice);
    }
    report.capabilities = {
        onDisplay(QT_TRANSLATE_NOOP("glimra::Capability", "selection"),
                  QT_TRANSLATE_NOOP("glimra::Capability", "X11 PRIMARY selection"), display),
        front,
        onDisplay(QT_TRANSLATE_NOOP("glimra::Capability", "clipboard"),
                  QT_TRANSLATE_NOOP("glimra::Capability", "X11 CLIPBOARD selection"), display),
        keystroke,
        onDisplay(QT_TRANSLATE_NOOP("glimra::Capability", "shortcut"),
                  QT_TRANSLATE_NOOP("glimra::Capability", "X11 key grab (the running Glimra)"), display)};
    return report;
}

} // namespace glimra
