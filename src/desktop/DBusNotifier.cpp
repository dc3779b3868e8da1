#include "desktop/DBusNotifier.h"

#include "foundation/Log.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QVariantMap>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

const QString Service = u"org.freedesktop.Notifications"_s;
const QString ObjectPath = u"/org/freedesktop/Notifications"_s;

// Whether the server reads markup, from its answer to GetCapabilities; nullopt when it gave
// none (it failed, or did not answer in time, as a server started on demand may not).
std::optional<bool> readsMarkup(const QDBusMessage &reply)
{
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return std::nullopt;
    return reply.arguments().first().toStringList().contains(u"body-markup"_s);
}

void logDropped(const QString &title, const QString &description, const QString &error)
{
    qCInfo(lcPlatform).noquote()
        << u"no notification service; dropped: %1 - %2 (%3)"_s.arg(title, description, error);
}

// Sends `call` without waiting and hands its reply to `done` when it comes.
template <typename Done>
void sendDetached(const QDBusMessage &call, Done done)
{
    auto *watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [done](QDBusPendingCallWatcher *finished) {
                         done(finished->reply());
                         finished->deleteLater();
                     });
}

} // namespace

DBusNotifier::DBusNotifier(Delivery delivery) : m_delivery(delivery) {}

bool DBusNotifier::serverReadsMarkup()
{
    // Asked once. Until a server has said that it reads no markup, the body is escaped: an
    // escaped body on a server that reads none shows the entities, an unescaped one on a
    // server that reads markup runs it.
    if (!m_asked) {
        m_asked = true;
        const QDBusMessage call = QDBusMessage::createMethodCall(Service, ObjectPath, Service,
                                                                 u"GetCapabilities"_s);
        if (m_delivery == Delivery::WaitForReply) {
            *m_markup = readsMarkup(QDBusConnection::sessionBus().call(call, QDBus::Block, 2000));
        } else {
            sendDetached(call, [markup = m_markup](const QDBusMessage &reply) {
                *markup = readsMarkup(reply);
            });
        }
    }
    return m_markup->value_or(true);
}

void DBusNotifier::notify(const QString &title, const QString &description,
                          const QString &notificationName)
{
    // The body is the one field a server may read as markup: a selection holding "<b>" or
    // "&" must show as written.
    QString body = description;
    if (serverReadsMarkup()) {
        body.replace(u'&', u"&amp;"_s);
        body.replace(u'<', u"&lt;"_s);
        body.replace(u'>', u"&gt;"_s);
    }
    QDBusMessage call = QDBusMessage::createMethodCall(Service, ObjectPath, Service, u"Notify"_s);
    const QVariantMap hints{{u"x-glimra-name"_s, notificationName},
                            {u"x-glimra-identifier"_s, u"GLIMRA"_s}};
    call << u"Glimra"_s << uint(0) << u""_s << title << body << QStringList() << hints
         << int(-1);
    // The reply itself (the notification's id) is of no use; without a notification
    // service (or a session bus) it is an error.
    if (m_delivery == Delivery::Detached) {
        sendDetached(call, [title, description](const QDBusMessage &reply) {
            if (reply.type() == QDBusMessage::ErrorMessage)
                logDropped(title, description, reply.errorName());
        });
        return;
    }
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 2000);
    if (reply.type() == QDBusMessage::ErrorMessage)
        logDropped(title, description, reply.errorName());
}

} // namespace glimra
