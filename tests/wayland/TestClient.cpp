#include "TestClient.h"

#include "desktop/wayland/EventLoopWait.h"

#include <QProcessEnvironment>

namespace glimra::test {

TestClient::TestClient(const Options &options)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), options.onXwayland ? QStringLiteral("xcb") : QStringLiteral("wayland"));
    environment.insert(QStringLiteral("QT_WAYLAND_DISABLE_WINDOWDECORATION"), QStringLiteral("1"));
    if (options.onXwayland)
        environment.insert(QStringLiteral("DISPLAY"), qEnvironmentVariable("GLIMRA_XWAYLAND_DISPLAY"));
    else
        environment.remove(QStringLiteral("DISPLAY"));
    m_process.setProcessEnvironment(environment);
    QStringList arguments{QStringLiteral("--app-id"), options.appId, QStringLiteral("--title"), options.title};
    if (!options.clipboard.isNull())
        arguments << QStringLiteral("--clipboard") << QString::fromLatin1(options.clipboard.toHex());
    if (!options.primary.isNull())
        arguments << QStringLiteral("--primary") << QString::fromLatin1(options.primary.toHex());
    if (options.primarySize > 0)
        arguments << QStringLiteral("--primary-size") << QString::number(options.primarySize);
    if (!options.terminalIn.isNull())
        arguments << QStringLiteral("--terminal-in") << options.terminalIn;
    if (options.stall > 0)
        arguments << QStringLiteral("--stall") << QString::number(options.stall);
    QObject::connect(&m_process, &QProcess::readyReadStandardOutput, [this] { readLines(); });
    m_process.start(QStringLiteral(GLIMRA_WAYLAND_TEST_CLIENT), arguments);
}

TestClient::~TestClient()
{
    m_process.kill();
    m_process.waitForFinished(5000);
}

void TestClient::readLines()
{
    m_pending += m_process.readAllStandardOutput();
    qsizetype end;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        m_lines.append(m_pending.left(end));
        m_pending.remove(0, end + 1);
    }
}

std::optional<QByteArray> TestClient::waitForLine(const QByteArray &prefix, std::chrono::milliseconds timeout)
{
    std::optional<QByteArray> found;
    waitWithEventLoop(
        [&] {
            for (; m_consumed < m_lines.size(); ++m_consumed) {
                if (m_lines[m_consumed].startsWith(prefix)) {
                    found = m_lines[m_consumed++];
                    return true;
                }
            }
            return m_process.state() == QProcess::NotRunning;
        },
        QDeadlineTimer(timeout));
    return found;
}

QString TestClient::transcript() const
{
    QString text = QString::fromUtf8(m_lines.join('\n'));
    text += QStringLiteral("\nstandard error: ") + QString::fromLocal8Bit(const_cast<QProcess &>(m_process).readAllStandardError());
    return text;
}

} // namespace glimra::test
