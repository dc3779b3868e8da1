#include "cli/RunningInstance.h"

#include "app/BusAddress.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusServiceWatcher>
#include <QEventLoop>
#include <QTimer>
#include <QDBusMessage>
#include <QJsonDocument>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

QDBusMessage call(const QString &method, const QVariantList &arguments, bool autoStart)
{
    QDBusMessage message = QDBusMessage::createMethodCall(
        BusAddress::ServiceName.toString(), BusAddress::ObjectPath.toString(), BusAddress::Interface.toString(), method);
    message.setArguments(arguments);
    message.setAutoStartService(autoStart);
    return message;
}

// Sends `message` and says why it failed, if it did.
bool answered(const QDBusMessage &message, int timeout, QString *problem, QDBusMessage *reply = nullptr)
{
    const QDBusMessage answer = QDBusConnection::sessionBus().call(message, QDBus::Block, timeout);
    if (reply)
        *reply = answer;
    if (answer.type() == QDBusMessage::ReplyMessage)
        return true;
    *problem = answer.errorName() == u"org.freedesktop.DBus.Error.NoReply"_s
        ? u"the running Glimra did not answer"_s
        : answer.errorMessage();
    return false;
}

} // namespace

namespace {

// Whether one runs cannot be told without the bus: it is reached only through it.
const QString NoBus = QStringLiteral("there is no session bus, so a running Glimra cannot be reached "
                                     "(DBUS_SESSION_BUS_ADDRESS is not set or names no bus that answers)");

} // namespace

BusPeer RunningInstance::find()
{
    return BusPeer::find();
}

std::optional<QJsonObject> RunningInstance::runGuess(const QString &kind, double waitSeconds, QString *problem)
{
    // The guess takes the time the front-most application needs, plus the wait for late
    // files; the call waits as long.
    const int timeout = int(waitSeconds * 1000) + 30000;
    QDBusMessage reply;
    if (!answered(call(u"RunGuess"_s, {kind, waitSeconds}, false), timeout, problem, &reply))
        return std::nullopt;
    const QJsonDocument document = QJsonDocument::fromJson(reply.arguments().value(0).toString().toUtf8());
    if (!document.isObject()) {
        *problem = u"the running Glimra's answer is no JSON object"_s;
        return std::nullopt;
    }
    return document.object();
}

bool RunningInstance::show(const QString &method, const QVariantList &arguments, QString *problem)
{
    const BusPeer peer = find();
    if (peer.state != BusPeer::State::Answers) {
        *problem = peer.state == BusPeer::State::NoBus ? NoBus
            : peer.problem().isNull()                  ? u"Glimra is not running"_s
                                                       : peer.problem();
        return false;
    }
    return answered(call(method, arguments, false), BusPeer::AnswerSeconds * 1000, problem);
}

bool RunningInstance::showResults(QString *problem)
{
    const BusPeer peer = find();
    if (peer.state == BusPeer::State::NoBus) {
        *problem = NoBus;
        return false;
    }
    if (!peer.problem().isNull()) {
        *problem = peer.problem();
        return false;
    }
    // Nobody runs: the bus starts Glimra where a service file says how.
    if (answered(call(u"ShowResults"_s, {}, peer.state == BusPeer::State::Absent), 30000, problem))
        return true;
    // The bus's own words ("… was not provided by any .service files") say only that.
    if (peer.state == BusPeer::State::Absent)
        *problem = u"Glimra is not running; start it with \"glimra\""_s;
    return false;
}

bool RunningInstance::quit(QString *problem)
{
    // Watched before asking: it answers first and lets go of the name as it ends.
    QDBusConnection bus = QDBusConnection::sessionBus();
    QDBusServiceWatcher ended(BusAddress::ServiceName.toString(), bus, QDBusServiceWatcher::WatchForUnregistration);
    QEventLoop loop;
    QObject::connect(&ended, &QDBusServiceWatcher::serviceUnregistered, &loop, [&loop] { loop.exit(0); });
    QTimer::singleShot(QuitSeconds * 1000, &loop, [&loop] { loop.exit(1); });
    if (!show(u"Quit"_s, {}, problem))
        return false;
    if (!bus.interface()->isServiceRegistered(BusAddress::ServiceName.toString()).value() || loop.exec() == 0)
        return true;
    *problem = u"Glimra was asked to quit, but still runs after %1 seconds"_s.arg(QuitSeconds);
    return false;
}

} // namespace glimra
