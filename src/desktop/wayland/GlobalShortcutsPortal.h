#pragma once

#include <QDBusConnection>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <optional>

#include <chrono>

namespace glimra {

/// A shortcut asked of the desktop: its id, what it does, and the keys preferred (in the
/// portal's notation, "LOGO+ALT+G"); the user may bind others in the desktop's settings.
struct PortalShortcut
{
    QString id;
    QString description;
    QString preferredTrigger;
};

/// A client of the org.freedesktop.portal.GlobalShortcuts portal: it opens a session with
/// Glimra's shortcuts and reports their activation. A portal that lists the interface may
/// still refuse: only a session that opened says it works. The session's token is fixed,
/// so that the desktop keeps what the user rebound across runs (KDE names its shortcut
/// component after the application and the token). KDE Plasma 5.27 takes the shortcuts
/// from CreateSession's "shortcuts" option, later versions from BindShortcuts: both are
/// sent. The keys the user actually bound (in the desktop's settings, perhaps other than
/// those asked for) are listed once the session is open and followed as they change. Every
/// call waits with the event loop running. Main thread only.
class GlobalShortcutsPortal : public QObject
{
    Q_OBJECT
public:
    /// The token of the program's own session.
    static const QString SessionToken;

    explicit GlobalShortcutsPortal(const QDBusConnection &bus = QDBusConnection::sessionBus(),
                                   QObject *parent = nullptr);
    ~GlobalShortcutsPortal() override;

    /// Opens the session (token `sessionToken`) with `shortcuts` and binds them; false,
    /// with the reason in `problem`, when the portal is missing, refuses or does not answer
    /// within `timeout`. An empty list only tries whether a session opens.
    bool open(const QList<PortalShortcut> &shortcuts, std::chrono::milliseconds timeout,
              QString *problem = nullptr, const QString &sessionToken = SessionToken);
    bool isOpen() const { return !m_session.isEmpty(); }
    /// Ends the session (the desktop forgets nothing the user bound).
    void close();
    /// The keys the desktop binds to the shortcut `id`, for people, as it describes them
    /// ("Meta+Alt+G"); empty where it told none.
    QString trigger(const QString &id) const { return m_triggers.value(id); }

signals:
    void activated(const QString &id);
    void deactivated(const QString &id);
    /// The desktop's keys of the shortcuts changed (rebound in its settings).
    void triggersChanged();

private slots:
    void onActivated(const QDBusMessage &message);
    void onDeactivated(const QDBusMessage &message);
    void onResponse(const QDBusMessage &message);
    void onShortcutsChanged(const QDBusMessage &message);

private:
    /// Calls `method` of the portal, which answers through a Request object: the results,
    /// or nullopt with the reason.
    std::optional<QVariantMap> request(const QString &method, const QVariantList &arguments,
                                       const QString &token, std::chrono::milliseconds timeout,
                                       QString *problem);
    QString requestPath(const QString &token) const;
    /// Asks the portal which keys the session's shortcuts have (ListShortcuts).
    void listShortcuts(std::chrono::milliseconds timeout);
    /// Takes the keys of a portal's list of shortcuts, a(sa{sv}); false when it holds none.
    bool takeTriggers(const QVariant &shortcuts);
    QString newToken();

    QDBusConnection m_bus;
    QString m_session;
    QHash<QString, QString> m_triggers;
    std::optional<QPair<uint, QVariantMap>> m_response;
    quint64 m_requests = 0;
};

} // namespace glimra
