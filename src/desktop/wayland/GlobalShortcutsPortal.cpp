#include "GlobalShortcutsPortal.h"

#include "EventLoopWait.h"
#include "WaylandLog.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>

namespace glimra {

namespace {

/// One shortcut as the portal takes it: a(sa{sv}).
struct ShortcutEntry
{
    QString id;
    QVariantMap properties;
};

} // namespace

} // namespace glimra

Q_DECLARE_METATYPE(glimra::ShortcutEntry)

namespace glimra {

namespace {

const QString Service = QStringLiteral("org.freedesktop.portal.Desktop");
const QString DesktopPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString Interface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString RequestInterface = QStringLiteral("org.freedesktop.portal.Request");

QDBusArgument &operator<<(QDBusArgument &argument, const ShortcutEntry &entry)
{
    argument.beginStructure();
    argument << entry.id << entry.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, ShortcutEntry &entry)
{
    argument.beginStructure();
    argument >> entry.id >> entry.properties;
    argument.endStructure();
    return argument;
}

QVariant shortcutList(const QList<PortalShortcut> &shortcuts)
{
    qDBusRegisterMetaType<ShortcutEntry>();
    qDBusRegisterMetaType<QList<ShortcutEntry>>();
    QList<ShortcutEntry> entries;
    for (const PortalShortcut &shortcut : shortcuts) {
        QVariantMap properties{{QStringLiteral("description"), shortcut.description}};
        if (!shortcut.preferredTrigger.isEmpty())
            properties.insert(QStringLiteral("preferred_trigger"), shortcut.preferredTrigger);
        entries.append({shortcut.id, properties});
    }
    return QVariant::fromValue(entries);
}

void setProblem(QString *problem, const QString &text)
{
    if (problem)
        *problem = text;
}

} // namespace

const QString GlobalShortcutsPortal::SessionToken = QStringLiteral("glimra");

GlobalShortcutsPortal::GlobalShortcutsPortal(const QDBusConnection &bus, QObject *parent)
    : QObject(parent)
    , m_bus(bus)
{
    m_bus.connect(Service, DesktopPath, Interface, QStringLiteral("Activated"), this,
                  SLOT(onActivated(QDBusMessage)));
    m_bus.connect(Service, DesktopPath, Interface, QStringLiteral("Deactivated"), this,
                  SLOT(onDeactivated(QDBusMessage)));
    m_bus.connect(Service, DesktopPath, Interface, QStringLiteral("ShortcutsChanged"), this,
                  SLOT(onShortcutsChanged(QDBusMessage)));
}

QString GlobalShortcutsPortal::newToken()
{
    return QStringLiteral("glimra%1_%2").arg(QCoreApplication::applicationPid()).arg(++m_requests);
}

GlobalShortcutsPortal::~GlobalShortcutsPortal()
{
    close();
}

QString GlobalShortcutsPortal::requestPath(const QString &token) const
{
    QString sender = m_bus.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return DesktopPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
}

std::optional<QVariantMap> GlobalShortcutsPortal::request(const QString &method, const QVariantList &arguments,
                                                          const QString &token, std::chrono::milliseconds timeout,
                                                          QString *problem)
{
    const QDeadlineTimer deadline(timeout);
    // The answer comes as a signal of a Request object whose path the token fixes: listen
    // before asking, so that it cannot come first.
    const QString path = requestPath(token);
    m_response.reset();
    m_bus.connect(Service, path, RequestInterface, QStringLiteral("Response"), this, SLOT(onResponse(QDBusMessage)));
    QDBusMessage call = QDBusMessage::createMethodCall(Service, DesktopPath, Interface, method);
    call.setArguments(arguments);
    QDBusPendingCall pending = m_bus.asyncCall(call, int(timeout.count()));
    // The reply arrives on QtDBus's own thread; the watcher's signal is what wakes this one.
    QDBusPendingCallWatcher watcher(pending);
    bool replied = false;
    connect(&watcher, &QDBusPendingCallWatcher::finished, this, [&replied] { replied = true; });
    waitWithEventLoop([&] { return replied && (pending.isError() || m_response); }, deadline);
    m_bus.disconnect(Service, path, RequestInterface, QStringLiteral("Response"), this, SLOT(onResponse(QDBusMessage)));
    if (pending.isFinished() && pending.isError()) {
        setProblem(problem, QStringLiteral("the GlobalShortcuts portal refused %1: %2").arg(method, pending.error().message()));
        return std::nullopt;
    }
    if (!m_response) {
        setProblem(problem, QStringLiteral("the GlobalShortcuts portal did not answer %1 in time").arg(method));
        return std::nullopt;
    }
    if (m_response->first != 0) {
        setProblem(problem, QStringLiteral("the GlobalShortcuts portal refused %1 (%2)")
                                .arg(method, m_response->first == 1 ? QStringLiteral("cancelled") : QStringLiteral("failed")));
        return std::nullopt;
    }
    return m_response->second;
}

bool GlobalShortcutsPortal::open(const QList<PortalShortcut> &shortcuts, std::chrono::milliseconds timeout,
                                 QString *problem, const QString &sessionToken)
{
    close();
    if (!m_bus.isConnected()) {
        setProblem(problem, QStringLiteral("no session bus"));
        return false;
    }
    const QDeadlineTimer deadline(timeout);
    auto remaining = [&] { return std::chrono::milliseconds(std::max<qint64>(1, deadline.remainingTime())); };
    const QString token = newToken();
    QVariantMap options{{QStringLiteral("handle_token"), token},
                        {QStringLiteral("session_handle_token"), sessionToken}};
    if (!shortcuts.isEmpty())
        options.insert(QStringLiteral("shortcuts"), shortcutList(shortcuts));
    const std::optional<QVariantMap> created = request(QStringLiteral("CreateSession"), {options}, token, remaining(), problem);
    if (!created)
        return false;
    const QVariant handle = created->value(QStringLiteral("session_handle"));
    m_session = handle.canConvert<QDBusObjectPath>() ? handle.value<QDBusObjectPath>().path() : handle.toString();
    if (m_session.isEmpty()) {
        setProblem(problem, QStringLiteral("the GlobalShortcuts portal opened no session"));
        return false;
    }
    if (shortcuts.isEmpty())
        return true;
    const QString bindToken = newToken();
    const std::optional<QVariantMap> bound = request(
        QStringLiteral("BindShortcuts"),
        {QVariant::fromValue(QDBusObjectPath(m_session)), shortcutList(shortcuts), QString(),
         QVariantMap{{QStringLiteral("handle_token"), bindToken}}},
        bindToken, remaining(), problem);
    if (!bound) {
        close();
        return false;
    }
    takeTriggers(bound->value(QStringLiteral("shortcuts")));
    // The user may have bound other keys in the desktop's settings, in an earlier run: the
    // keys to show are the desktop's, not those asked for.
    listShortcuts(remaining());
    return true;
}

void GlobalShortcutsPortal::listShortcuts(std::chrono::milliseconds timeout)
{
    const QString token = newToken();
    QString problem;
    const std::optional<QVariantMap> listed = request(
        QStringLiteral("ListShortcuts"),
        {QVariant::fromValue(QDBusObjectPath(m_session)), QVariantMap{{QStringLiteral("handle_token"), token}}},
        token, timeout, &problem);
    if (!listed)
        qCInfo(lcWayland).noquote() << problem << "(the keys shown are those asked for)";
    else if (takeTriggers(listed->value(QStringLiteral("shortcuts"))))
        emit triggersChanged();
}

bool GlobalShortcutsPortal::takeTriggers(const QVariant &shortcuts)
{
    if (!shortcuts.canConvert<QDBusArgument>())
        return false;
    qDBusRegisterMetaType<ShortcutEntry>();
    QList<ShortcutEntry> entries;
    shortcuts.value<QDBusArgument>() >> entries;
    bool any = false;
    for (const ShortcutEntry &entry : std::as_const(entries)) {
        m_triggers.insert(entry.id, entry.properties.value(QStringLiteral("trigger_description")).toString());
        any = true;
    }
    return any;
}

void GlobalShortcutsPortal::close()
{
    if (m_session.isEmpty())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(Service, m_session, QStringLiteral("org.freedesktop.portal.Session"),
                                                       QStringLiteral("Close"));
    m_bus.asyncCall(call);
    m_session.clear();
    m_triggers.clear();
}

void GlobalShortcutsPortal::onResponse(const QDBusMessage &message)
{
    const QVariantList arguments = message.arguments();
    QVariantMap results;
    arguments.value(1).value<QDBusArgument>() >> results;
    m_response = qMakePair(arguments.value(0).toUInt(), results);
}

void GlobalShortcutsPortal::onActivated(const QDBusMessage &message)
{
    const QVariantList arguments = message.arguments();
    if (!m_session.isEmpty() && arguments.value(0).value<QDBusObjectPath>().path() == m_session)
        emit activated(arguments.value(1).toString());
}

void GlobalShortcutsPortal::onShortcutsChanged(const QDBusMessage &message)
{
    const QVariantList arguments = message.arguments();
    if (!m_session.isEmpty() && arguments.value(0).value<QDBusObjectPath>().path() == m_session
        && takeTriggers(arguments.value(1)))
        emit triggersChanged();
}

void GlobalShortcutsPortal::onDeactivated(const QDBusMessage &message)
{
    const QVariantList arguments = message.arguments();
    if (!m_session.isEmpty() && arguments.value(0).value<QDBusObjectPath>().path() == m_session)
        emit deactivated(arguments.value(1).toString());
}

} // namespace glimra
