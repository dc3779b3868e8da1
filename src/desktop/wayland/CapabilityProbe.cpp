#include "CapabilityProbe.h"

#include "BindingInstaller.h"
#include "DataControl.h"
#include "GlobalShortcutsPortal.h"
#include "KeyCombination.h"
#include "KeystrokeSender.h"
#include "SwayIpc.h"
#include "WaylandSession.h"
#include "WaylandWindowList.h"

#include <QJsonArray>

#include <memory>

namespace glimra {

QString Capability::line() const
{
    QString text = QStringLiteral("%1: %2, %3").arg(name, mechanism, answered ? QStringLiteral("answered")
                                                                             : QStringLiteral("did not answer"));
    if (!advice.isEmpty())
        text += QStringLiteral("; ") + advice;
    return text;
}

QJsonObject CapabilityReport::toJson() const
{
    QJsonArray list;
    for (const Capability &capability : capabilities) {
        list.append(QJsonObject{{QStringLiteral("name"), capability.name},
                                {QStringLiteral("mechanism"), capability.mechanism},
                                {QStringLiteral("answered"), capability.answered},
                                {QStringLiteral("advice"), capability.advice}});
    }
    return {{QStringLiteral("desktop"), desktop}, {QStringLiteral("capabilities"), list}};
}

QString CapabilityProbe::desktopOf(const WaylandSession &session)
{
    const QStringList desktops = qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString &known : {QStringLiteral("sway"), QStringLiteral("KDE"), QStringLiteral("GNOME")}) {
        if (desktops.contains(known, Qt::CaseInsensitive))
            return known;
    }
    if (!qEnvironmentVariable("SWAYSOCK").isEmpty())
        return QStringLiteral("sway");
    if (session.version(QStringLiteral("org_kde_kwin_server_decoration_manager")))
        return QStringLiteral("KDE");
    if (session.version(QStringLiteral("gtk_shell1")))
        return QStringLiteral("GNOME");
    if (session.version(QStringLiteral("zwlr_layer_shell_v1")))
        return QStringLiteral("wlroots");
    return desktops.value(0, QStringLiteral("unknown"));
}

CapabilityReport CapabilityProbe::probe(WaylandSession &session, const Options &options)
{
    CapabilityReport report;
    report.desktop = desktopOf(session);
    report.capabilities = {selection(session, report.desktop, options),
                           frontApplication(session, report.desktop, options),
                           keystroke(session, report.desktop), shortcut(report.desktop, options)};
    return report;
}

Capability CapabilityProbe::selection(WaylandSession &session, const QString &desktop, const Options &options)
{
    Capability capability{QStringLiteral("selection"), QStringLiteral("none"), false, {}};
    std::unique_ptr<DataControl> control(DataControl::create(session));
    if (control) {
        capability.mechanism = control->interfaceName();
        capability.answered = session.roundTrip(options.timeout);
        if (!control->hasPrimary())
            capability.advice = QStringLiteral("this compositor's data control has no primary selection: select, copy and "
                                               "use the clipboard guess");
    } else if (desktop == QLatin1String("GNOME")) {
        capability.mechanism = QStringLiteral("the XWayland bridge (X11 selections)");
        capability.answered = !qEnvironmentVariable("DISPLAY").isEmpty();
        if (!capability.answered)
            capability.advice = QStringLiteral("GNOME runs without Xwayland here: enable it to let Glimra read selections");
    } else {
        capability.advice = QStringLiteral("this compositor lets no program read the selection without the focus: copy it "
                                           "(Ctrl+C) and use the clipboard guess");
    }
    return capability;
}

Capability CapabilityProbe::frontApplication(WaylandSession &session, const QString &desktop, const Options &options)
{
    Capability capability{QStringLiteral("front application"), QStringLiteral("none"), false, {}};
    std::unique_ptr<WaylandWindowList> list(WaylandWindowList::create(session));
    if (list) {
        capability.mechanism = list->interfaceName();
        capability.answered = session.isConnected();
    }
    // sway's IPC tells the process of the focused window, which the list does not.
    SwayIpc sway;
    if (!sway.socketPath().isEmpty()) {
        QString problem;
        const bool swayAnswered = sway.focusedWindow(options.timeout, &problem)
                               || problem == QLatin1String("no window has the focus");
        capability.mechanism = list ? capability.mechanism + QStringLiteral(" and sway's IPC") : QStringLiteral("sway's IPC");
        capability.answered = (capability.answered || !list) && swayAnswered;
    }
    if (capability.answered)
        return capability;
    if (desktop == QLatin1String("KDE"))
        capability.advice = QStringLiteral("KWin shows its window list only to the installed Glimra (its desktop entry "
                                           "names the protocols): run the installed program");
    else if (desktop == QLatin1String("GNOME"))
        capability.advice = QStringLiteral("GNOME tells no program which native window is in front (X11 windows are "
                                           "known): the guess runs on the selection alone");
    else
        capability.advice = QStringLiteral("this compositor tells no program which window is in front: the guess runs on "
                                           "the selection alone");
    return capability;
}

Capability CapabilityProbe::keystroke(WaylandSession &session, const QString &desktop)
{
    Capability capability{QStringLiteral("keystroke"), QStringLiteral("none"), false, {}};
    std::unique_ptr<KeystrokeSender> sender(KeystrokeSender::create(session));
    if (sender) {
        capability.mechanism = sender->interfaceName();
        capability.answered = session.isConnected();
        return capability;
    }
    capability.advice = desktop == QLatin1String("KDE")
        ? QStringLiteral("KWin lets only the installed Glimra type (its desktop entry names the protocols): run the "
                         "installed program")
        : QStringLiteral("this desktop lets no program type into native windows: paste puts the text on the clipboard; "
                         "press Ctrl+V");
    return capability;
}

Capability CapabilityProbe::shortcut(const QString &desktop, const Options &options)
{
    Capability capability{QStringLiteral("shortcut"), QStringLiteral("none"), false, {}};
    GlobalShortcutsPortal portal(options.bus);
    QString problem;
    if (portal.open({}, options.timeout, &problem, QStringLiteral("glimra_probe"))) {
        portal.close();
        capability.mechanism = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
        capability.answered = true;
        return capability;
    }
    const std::unique_ptr<BindingInstaller> installer = BindingInstaller::forSession();
    capability.mechanism = installer->mechanism();
    const std::optional<KeyCombination> keys = KeyCombination::parse(options.guessKeys);
    const QString keyText = keys ? keys->toText() : options.guessKeys;
    if (desktop == QLatin1String("sway") || desktop == QLatin1String("GNOME")) {
        capability.advice = QStringLiteral("no GlobalShortcuts portal on this desktop; run `glimra shortcut install` to "
                                           "bind %1 in %2").arg(keyText, desktop);
    } else {
        capability.advice = QStringLiteral("no GlobalShortcuts portal on this desktop; bind %1 to `glimra guess` in its "
                                           "settings").arg(keyText);
    }
    return capability;
}

} // namespace glimra
