#include "CapabilityProbe.h"

#include "BindingInstaller.h"
#include "DataControl.h"
#include "GlobalShortcutsPortal.h"
#include "KeyCombination.h"
#include "KeystrokeSender.h"
#include "SwayIpc.h"
#include "WaylandSession.h"
#include "WaylandWindowList.h"

#include "foundation/Wording.h"

#include <QCoreApplication>
#include <QJsonArray>

#include <memory>

namespace glimra {

namespace {

constexpr const char *Context = "glimra::Capability";

// The capability `name` (marked for translation) with no mechanism found yet.
Capability untried(const char *name)
{
    return {QString::fromUtf8(name), QStringLiteral(QT_TRANSLATE_NOOP("glimra::Capability", "none")), false, {}, {}};
}

} // namespace

void Capability::advise(const char *source, const QStringList &arguments)
{
    advice = wording(Language::English, Context, source, arguments);
    shownAdvice = wording(Language::Users, Context, source, arguments);
}

QString Capability::line() const
{
    QString text = QStringLiteral("%1: %2, %3").arg(name, mechanism, answered ? QStringLiteral("answered")
                                                                             : QStringLiteral("did not answer"));
    if (!advice.isEmpty())
        text += QStringLiteral("; ") + advice;
    return text;
}

QString Capability::shownLine() const
{
    // Names and mechanisms are their own message ids; a protocol's name has no translation
    // and stays as it is.
    const auto shown = [](const QString &words) {
        return QCoreApplication::translate(Context, words.toUtf8().constData());
    };
    const char *state = answered ? QT_TRANSLATE_NOOP("glimra::Capability", "answered")
                                 : QT_TRANSLATE_NOOP("glimra::Capability", "did not answer");
    QString text = wording(Language::Users, Context, QT_TRANSLATE_NOOP("glimra::Capability", "%1: %2, %3"),
                           {shown(name), shown(mechanism), wording(Language::Users, Context, state)});
    if (!advice.isEmpty())
        text += wording(Language::Users, Context, QT_TRANSLATE_NOOP("glimra::Capability", "; %1"),
                        {shownAdvice.isNull() ? advice : shownAdvice});
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
    Capability capability = untried(QT_TRANSLATE_NOOP("glimra::Capability", "selection"));
    std::unique_ptr<DataControl> control(DataControl::create(session));
    if (control) {
        capability.mechanism = control->interfaceName();
        capability.answered = session.roundTrip(options.timeout);
        if (!control->hasPrimary())
            capability.advise(QT_TRANSLATE_NOOP("glimra::Capability",
                                                "this compositor's data control has no primary selection: select, "
                                                "copy and use the clipboard guess"));
    } else if (desktop == QLatin1String("GNOME")) {
        capability.mechanism =
            QStringLiteral(QT_TRANSLATE_NOOP("glimra::Capability", "the XWayland bridge (X11 selections)"));
        capability.answered = !qEnvironmentVariable("DISPLAY").isEmpty();
        if (!capability.answered)
            capability.advise(QT_TRANSLATE_NOOP("glimra::Capability",
                                                "GNOME runs without Xwayland here: enable it to let Glimra read "
                                                "selections"));
    } else {
        capability.advise(QT_TRANSLATE_NOOP("glimra::Capability",
                                            "this compositor lets no program read the selection without the focus: "
                                            "copy it (Ctrl+C) and use the clipboard guess"));
    }
    return capability;
}

Capability CapabilityProbe::frontApplication(WaylandSession &session, const QString &desktop, const Options &options)
{
    Capability capability = untried(QT_TRANSLATE_NOOP("glimra::Capability", "front application"));
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
        capability.mechanism = list ? capability.mechanism + QStringLiteral(" and sway's IPC")
                                    : QStringLiteral(QT_TRANSLATE_NOOP("glimra::Capability", "sway's IPC"));
        capability.answered = (capability.answered || !list) && swayAnswered;
    }
    if (capability.answered)
        return capability;
    if (desktop == QLatin1String("KDE"))
        capability.advise(QT_TRANSLATE_NOOP("glimra::Capability",
                                            "KWin shows its window list only to the installed Glimra (its desktop "
                                            "entry names the protocols): run the installed program"));
    else if (desktop == QLatin1String("GNOME"))
        capability.advise(QT_TRANSLATE_NOOP("glimra::Capability",
                                            "GNOME tells no program which native window is in front (X11 windows "
                                            "are known): the guess runs on the selection alone"));
    else
        capability.advise(QT_TRANSLATE_NOOP("glimra::Capability",
                                            "this compositor tells no program which window is in front: the guess "
                                            "runs on the selection alone"));
    return capability;
}

Capability CapabilityProbe::keystroke(WaylandSession &session, const QString &desktop)
{
    Capability capability = untried(QT_TRANSLATE_NOOP("glimra::Capability", "keystroke"));
    std::unique_ptr<KeystrokeSender> sender(KeystrokeSender::create(session));
    if (sender) {
        capability.mechanism = sender->interfaceName();
        capability.answered = session.isConnected();
        return capability;
    }
    capability.advise(desktop == QLatin1String("KDE")
                          ? QT_TRANSLATE_NOOP("glimra::Capability",
                                              "KWin lets only the installed Glimra type (its desktop entry names the "
                                              "protocols): run the installed program")
                          : QT_TRANSLATE_NOOP("glimra::Capability",
                                              "this desktop lets no program type into native windows: paste puts the "
                                              "text on the clipboard; press Ctrl+V"));
    return capability;
}

Capability CapabilityProbe::shortcut(const QString &desktop, const Options &options)
{
    Capability capability = untried(QT_TRANSLATE_NOOP("glimra::Capability", "shortcut"));
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
        capability.advise(QT_TRANSLATE_NOOP("glimra::Capability",
                                            "no GlobalShortcuts portal on this desktop; run `glimra shortcut "
                                            "install` to bind %1 in %2"), {keyText, desktop});
    } else {
        capability.advise(QT_TRANSLATE_NOOP("glimra::Capability",
                                            "no GlobalShortcuts portal on this desktop; bind %1 to `glimra guess` "
                                            "in its settings"), {keyText});
    }
    return capability;
}

} // namespace glimra
