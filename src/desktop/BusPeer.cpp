#include "desktop/BusPeer.h"

#include "app/BusAddress.h"
#include "platform/displayName.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QEventLoop>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace glimra {

BusPeer BusPeer::find()
{
    BusPeer peer;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return peer;
    peer.state = State::Absent;
    const QString name = BusAddress::ServiceName.toString();
    if (!bus.interface()->isServiceRegistered(name).value())
        return peer;
    const QDBusReply<uint> pid = bus.interface()->servicePid(name);
    peer.pid = pid.isValid() ? qint64(pid.value()) : 0;
    QDBusMessage ask = QDBusMessage::createMethodCall(name, BusAddress::ObjectPath.toString(),
                                                      BusAddress::Interface.toString(), u"Display"_s);
    ask.setAutoStartService(false);
    // Waited for by a precise timer: the bus's own timeout fires up to a twentieth early.
    QDBusPendingCallWatcher pending(bus.asyncCall(ask, (AnswerSeconds + 1) * 1000));
    QEventLoop loop;
    QObject::connect(&pending, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(AnswerSeconds * 1000, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    if (!pending.isFinished())
        loop.exec();
    const QDBusMessage reply = pending.isFinished() ? pending.reply() : QDBusMessage();
    if (reply.type() != QDBusMessage::ReplyMessage) {
        // Gone meanwhile is no hang.
        peer.state = bus.interface()->isServiceRegistered(name).value() ? State::Hung : State::Absent;
        return peer;
    }
    peer.display = reply.arguments().value(0).toString();
    peer.state = peer.display == displayName() ? State::Answers : State::OtherDisplay;
    return peer;
}

QString BusPeer::problem() const
{
    const QString process = pid > 0 ? u" (pid %1)"_s.arg(pid) : QString();
    switch (state) {
    case State::Hung:
        return u"another process%1 holds %2 on the session bus and does not answer within %3 s"_s.arg(
            process, BusAddress::ServiceName).arg(AnswerSeconds);
    case State::OtherDisplay:
        return u"Glimra runs on display %1%2 and serves that display only, not %3"_s.arg(
            display, process, displayName());
    case State::NoBus:
    case State::Absent:
    case State::Answers:
        break;
    }
    return {};
}

} // namespace glimra
