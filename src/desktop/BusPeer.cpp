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

namespace {

// The owner's answer to Display, or an empty message when it gave none within AnswerSeconds.
QDBusMessage askDisplay(const QDBusConnection &bus)
{
    QDBusMessage ask = QDBusMessage::createMethodCall(BusAddress::ServiceName.toString(), BusAddress::ObjectPath.toString(),
                                                      BusAddress::Interface.toString(), u"Display"_s);
    ask.setAutoStartService(false);
    // Waited for by a precise timer: the bus's own timeout fires up to a twentieth early.
    QDBusPendingCallWatcher pending(bus.asyncCall(ask, (BusPeer::AnswerSeconds + 1) * 1000));
    QEventLoop loop;
    QObject::connect(&pending, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(BusPeer::AnswerSeconds * 1000, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    if (!pending.isFinished())
        loop.exec();
    return pending.isFinished() ? pending.reply() : QDBusMessage();
}

qint64 ownerPid(const QDBusConnection &bus)
{
    const QDBusReply<uint> pid = bus.interface()->servicePid(BusAddress::ServiceName.toString());
    return pid.isValid() ? qint64(pid.value()) : 0;
}

} // namespace

BusPeer BusPeer::find()
{
    BusPeer peer;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return peer;
    // Asked first, and alone when it answers for this display: a shortcut's `glimra guess`
    // waits for every round trip through the bus made here.
    const QDBusMessage reply = askDisplay(bus);
    if (reply.type() == QDBusMessage::ReplyMessage) {
        peer.display = reply.arguments().value(0).toString();
        peer.state = peer.display == displayName() ? State::Answers : State::OtherDisplay;
    } else {
        // No answer: nobody owns the name (the bus says so at once), or its owner hangs.
        const bool owned = bus.interface()->isServiceRegistered(BusAddress::ServiceName.toString()).value();
        peer.state = owned ? State::Hung : State::Absent;
    }
    if (peer.state == State::Hung || peer.state == State::OtherDisplay)
        peer.pid = ownerPid(bus);
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
