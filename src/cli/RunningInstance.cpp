#include "cli/RunningInstance.h"

#include "app/ui/BusService.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QJsonDocument>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

QDBusMessage call(const QString &method, const QVariantList &arguments, bool autoStart)
{
    QDBusMessage message = QDBusMessage::createMethodCall(BusService::ServiceName, BusService::ObjectPath,
                                                          BusService::Interface, method);
    message.setArguments(arguments);
    message.setAutoStartService(autoStart);
    return message;
}

} // namespace

bool RunningInstance::isRunning()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.isConnected() && bus.interface()->isServiceRegistered(BusService::ServiceName).value();
}

std::optional<QJsonObject> RunningInstance::runGuess(const QString &kind, double waitSeconds)
{
    // The guess takes the time the front-most application needs, plus the wait for late
    // files; the call waits as long.
    const int timeout = int(waitSeconds * 1000) + 30000;
    const QDBusMessage reply = QDBusConnection::sessionBus().call(
        call(u"RunGuess"_s, {kind, waitSeconds}, false), QDBus::Block, timeout);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return std::nullopt;
    const QJsonDocument document = QJsonDocument::fromJson(reply.arguments().first().toString().toUtf8());
    if (!document.isObject())
        return std::nullopt;
    return document.object();
}

bool RunningInstance::show(const QString &method, const QVariantList &arguments, QString *problem)
{
    if (!isRunning()) {
        *problem = u"Glimra is not running"_s;
        return false;
    }
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call(method, arguments, false), QDBus::Block, 30000);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        *problem = reply.errorMessage();
        return false;
    }
    return true;
}

bool RunningInstance::showResults(QString *problem)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        *problem = u"there is no session bus"_s;
        return false;
    }
    const QDBusMessage reply = bus.call(call(u"ShowResults"_s, {}, true), QDBus::Block, 30000);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        *problem = reply.errorMessage();
        return false;
    }
    return true;
}

} // namespace glimra
