#pragma once

#include <QDBusConnection>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <chrono>

namespace glimra {

class WaylandSession;

/// How one of Glimra's needs is met on this desktop.
struct Capability
{
    QString name;      ///< "selection", "front application", "keystroke", "shortcut"
    QString mechanism; ///< the protocol or service chosen; "none" when there is none
    bool answered = false; ///< it was tried and worked
    QString advice;    ///< what the user can do about it; empty when nothing is needed
    QString shownAdvice; ///< the same in the user's language; null where `advice` is empty

    /// Sets the advice: `source` (marked with QT_TRANSLATE_NOOP("glimra::Capability", …)),
    /// its %1, %2… filled by `arguments`, in English and in the user's language.
    void advise(const char *source, const QStringList &arguments = {});
    /// One line for people: "shortcut: MECHANISM, answered; ADVICE", in English as the
    /// command line prints it.
    QString line() const;
    /// The same line in the user's language, for a window.
    QString shownLine() const;
};

/// What the session offers, capability by capability, for `glimra doctor`.
struct CapabilityReport
{
    QString desktop; ///< "sway", "wlroots", "KDE", "GNOME", or what $XDG_CURRENT_DESKTOP says
    QList<Capability> capabilities;

    QJsonObject toJson() const;
};

/// Tries each mechanism the way Glimra would use it, and says which one it would choose.
/// Nothing is typed and no selection is read: the data control and window list are bound
/// (a round trip), sway's IPC is asked for its tree, the GlobalShortcuts portal for a
/// session (of a token of its own, closed again).
class CapabilityProbe
{
public:
    struct Options
    {
        QString guessKeys = QStringLiteral("Meta+Alt+G"); ///< named in the advice
        QDBusConnection bus = QDBusConnection::sessionBus();
        std::chrono::milliseconds timeout{2000};
    };

    static CapabilityReport probe(WaylandSession &session, const Options &options);
    static CapabilityReport probe(WaylandSession &session) { return probe(session, Options()); }
    /// The desktop family, from $XDG_CURRENT_DESKTOP and, failing that, the globals.
    static QString desktopOf(const WaylandSession &session);

private:
    static Capability selection(WaylandSession &session, const QString &desktop, const Options &options);
    static Capability frontApplication(WaylandSession &session, const QString &desktop, const Options &options);
    static Capability keystroke(WaylandSession &session, const QString &desktop);
    static Capability shortcut(const QString &desktop, const Options &options);
};

} // namespace glimra
