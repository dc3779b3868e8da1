#include "platform/desktop/DBusNotifier.h"

#include "foundation/Log.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>

using namespace Qt::StringLiterals;

namespace glimra {

void DBusNotifier::notify(const QString &title, const QString &description,
                          const QString &notificationName)
{
    const QString service = u"org.freedesktop.Notifications"_s;
    QDBusMessage call = QDBusMessage::createMethodCall(service, u"/org/freedesktop/Notifications"_s,
                                                       service, u"Notify"_s);
    const QVariantMap hints{{u"x-glimra-name"_s, notificationName},
                            {u"x-glimra-identifier"_s, u"GLIMRA"_s}};
    call << u"Glimra"_s << uint(0) << u""_s << title << description << QStringList() << hints
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
