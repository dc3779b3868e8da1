#include "platform/desktop/DBusNotifier.h"

#include "foundation/Log.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

const QString Service = u"org.freedesktop.Notifications"_s;
const QString ObjectPath = u"/org/freedesktop/Notifications"_s;

} // namespace

bool DBusNotifier::serverReadsMarkup()
{
    if (!m_markup) {
        const QDBusMessage call = QDBusMessage::createMethodCall(Service, ObjectPath, Service,
                                                                 u"GetCapabilities"_s);
        const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 2000);
        m_markup = reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()
            && reply.arguments().first().toStringList().contains(u"body-markup"_s);
    }
    return *m_markup;
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
    // Waits briefly for the reply so that a short-lived process never exits before the
    // message has left; the reply itself (the notification's id) is of no use. Without a
    // notification service (or a session bus) the reply is an error.
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 2000);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        qCInfo(lcPlatform).noquote()
            << u"no notification service; dropped: %1 - %2 (%3)"_s.arg(title, description,
                                                                       reply.errorName());
    }
}

} // namespace glimra
