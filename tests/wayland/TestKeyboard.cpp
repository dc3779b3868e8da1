#include "TestKeyboard.h"

#include "desktop/wayland/KeystrokeSender.h"
#include "desktop/wayland/WaylandSession.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>

namespace glimra::test {

namespace {

const QString RemoteDesktop = QStringLiteral("org.gnome.Mutter.RemoteDesktop");

QDBusMessage callRemoteDesktop(const QString &path, const QString &interface, const QString &method,
                               const QVariantList &arguments = {})
{
    QDBusMessage call = QDBusMessage::createMethodCall(RemoteDesktop, path, interface, method);
    call.setArguments(arguments);
    return QDBusConnection::sessionBus().call(call, QDBus::Block, 10000);
}

} // namespace

TestKeyboard::TestKeyboard(WaylandSession &session, bool gnome)
{
    if (!gnome) {
        m_sender.reset(KeystrokeSender::create(session));
        return;
    }
    const QDBusMessage created = callRemoteDesktop(QStringLiteral("/org/gnome/Mutter/RemoteDesktop"), RemoteDesktop,
                                                   QStringLiteral("CreateSession"));
    if (created.type() != QDBusMessage::ReplyMessage)
        return;
    m_remoteSession = created.arguments().value(0).value<QDBusObjectPath>().path();
    callRemoteDesktop(m_remoteSession, RemoteDesktop + QStringLiteral(".Session"), QStringLiteral("Start"));
}

TestKeyboard::~TestKeyboard()
{
    if (!m_remoteSession.isEmpty())
        callRemoteDesktop(m_remoteSession, RemoteDesktop + QStringLiteral(".Session"), QStringLiteral("Stop"));
}

bool TestKeyboard::remoteKey(int key, bool pressed, QString *problem)
{
    const QDBusMessage reply = callRemoteDesktop(m_remoteSession, RemoteDesktop + QStringLiteral(".Session"),
                                                 QStringLiteral("NotifyKeyboardKeycode"), {quint32(key), pressed});
    if (reply.type() == QDBusMessage::ReplyMessage)
        return true;
    if (problem)
        *problem = reply.errorMessage();
    return false;
}

bool TestKeyboard::sendChord(const QList<int> &modifiers, int key, QString *problem)
{
    if (m_sender)
        return m_sender->sendChord(modifiers, key);
    if (m_remoteSession.isEmpty()) {
        if (problem)
            *problem = QStringLiteral("no way to type on this compositor");
        return false;
    }
    bool sent = true;
    for (int modifier : modifiers)
        sent = sent && remoteKey(modifier, true, problem);
    sent = sent && remoteKey(key, true, problem) && remoteKey(key, false, problem);
    for (auto modifier = modifiers.crbegin(); modifier != modifiers.crend(); ++modifier)
        sent = remoteKey(*modifier, false, problem) && sent;
    return sent;
}

} // namespace glimra::test
