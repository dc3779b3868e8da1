#include "SwayIpc.h"

#include "EventLoopWait.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QFile>
#include <QSocketNotifier>
#include <QtEndian>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace glimra {

namespace {

constexpr quint32 RunCommand = 0;
constexpr quint32 GetTree = 4;
const QByteArray Magic = QByteArrayLiteral("i3-ipc");
constexpr qsizetype HeaderSize = 14;
// A tree of a busy desktop is some hundred KiB; anything far past that is not sway.
constexpr quint32 MaximumReply = 64 * 1024 * 1024;

void setProblem(QString *problem, const QString &text)
{
    if (problem)
        *problem = text;
}

} // namespace

SwayIpc::SwayIpc(QString socket)
    : m_socket(socket.isEmpty() ? qEnvironmentVariable("SWAYSOCK") : std::move(socket))
{
}

std::optional<QByteArray> SwayIpc::request(quint32 type, const QByteArray &payload,
                                           std::chrono::milliseconds timeout, QString *problem) const
{
    if (m_socket.isEmpty()) {
        setProblem(problem, QStringLiteral("no sway IPC socket ($SWAYSOCK is not set)"));
        return std::nullopt;
    }
    const QDeadlineTimer deadline(timeout);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(m_socket);
    if (fd < 0 || path.size() >= qsizetype(sizeof address.sun_path)) {
        setProblem(problem, QStringLiteral("cannot open sway's IPC socket"));
        if (fd >= 0)
            ::close(fd);
        return std::nullopt;
    }
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    QByteArray message = Magic;
    message.resize(HeaderSize);
    qToLittleEndian<quint32>(quint32(payload.size()), message.data() + 6);
    qToLittleEndian<quint32>(type, message.data() + 10);
    message += payload;

    // A local socket connects at once or not at all; the message is small enough to go
    // in one piece, so only the answer is waited for.
    std::optional<QByteArray> reply;
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0
        || ::send(fd, message.constData(), size_t(message.size()), MSG_NOSIGNAL) != message.size()) {
        setProblem(problem, QStringLiteral("cannot talk to sway at %1: %2")
                                .arg(m_socket, QString::fromLocal8Bit(std::strerror(errno))));
    } else {
        reply = readReply(fd, deadline, problem);
    }
    ::close(fd);
    return reply;
}

std::optional<QByteArray> SwayIpc::readReply(int fd, QDeadlineTimer deadline, QString *problem)
{
    QSocketNotifier notifier(fd, QSocketNotifier::Read);
    bool readable = true;
    QObject::connect(&notifier, &QSocketNotifier::activated, [&readable] { readable = true; });
    QByteArray reply;
    qsizetype expected = -1;
    for (;;) {
        char buffer[65536];
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n > 0) {
            reply.append(buffer, n);
            if (expected < 0 && reply.size() >= HeaderSize) {
                const quint32 length = qFromLittleEndian<quint32>(reply.constData() + 6);
                if (!reply.startsWith(Magic) || length > MaximumReply)
                    break;
                expected = HeaderSize + qsizetype(length);
            }
            if (expected >= 0 && reply.size() >= expected)
                return reply.mid(HeaderSize, expected - HeaderSize);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || errno != EAGAIN)
            break;
        readable = false;
        if (!waitWithEventLoop([&readable] { return readable; }, deadline)) {
            setProblem(problem, QStringLiteral("sway did not answer in time"));
            return std::nullopt;
        }
    }
    setProblem(problem, QStringLiteral("sway's IPC socket gave no valid answer"));
    return std::nullopt;
}

std::optional<SwayIpc::FocusedWindow> SwayIpc::focusedWindow(std::chrono::milliseconds timeout,
                                                             QString *problem) const
{
    const std::optional<QByteArray> tree = request(GetTree, {}, timeout, problem);
    if (!tree)
        return std::nullopt;
    const QJsonDocument document = QJsonDocument::fromJson(*tree);
    std::optional<FocusedWindow> focused = findFocused(document.object());
    if (!focused)
        setProblem(problem, QStringLiteral("no window has the focus"));
    return focused;
}

bool SwayIpc::runCommand(const QString &command, std::chrono::milliseconds timeout, QString *problem) const
{
    const std::optional<QByteArray> reply = request(RunCommand, command.toUtf8(), timeout, problem);
    if (!reply)
        return false;
    const QJsonArray results = QJsonDocument::fromJson(*reply).array();
    for (const QJsonValue &result : results) {
        if (!result.toObject().value(QLatin1String("success")).toBool()) {
            setProblem(problem, result.toObject().value(QLatin1String("error")).toString(
                                    QStringLiteral("sway refused the command")));
            return false;
        }
    }
    return !results.isEmpty();
}

std::optional<SwayIpc::FocusedWindow> SwayIpc::findFocused(const QJsonObject &node)
{
    const QString type = node.value(QLatin1String("type")).toString();
    if (node.value(QLatin1String("focused")).toBool() && (type == QLatin1String("con") || type == QLatin1String("floating_con"))
        && node.contains(QLatin1String("pid"))) {
        FocusedWindow window;
        window.pid = node.value(QLatin1String("pid")).toInteger();
        window.appId = node.value(QLatin1String("app_id")).toString();
        window.windowClass = node.value(QLatin1String("window_properties")).toObject().value(QLatin1String("class")).toString();
        window.title = node.value(QLatin1String("name")).toString();
        const QJsonObject rect = node.value(QLatin1String("rect")).toObject();
        window.rect = QRect(rect.value(QLatin1String("x")).toInt(), rect.value(QLatin1String("y")).toInt(),
                            rect.value(QLatin1String("width")).toInt(), rect.value(QLatin1String("height")).toInt());
        return window;
    }
    for (const char *children : {"nodes", "floating_nodes"}) {
        const QJsonArray nodes = node.value(QLatin1String(children)).toArray();
        for (const QJsonValue &child : nodes) {
            if (std::optional<FocusedWindow> found = findFocused(child.toObject()))
                return found;
        }
    }
    return std::nullopt;
}

} // namespace glimra
