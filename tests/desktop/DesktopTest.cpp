#include "DesktopTest.h"

#include "foundation/ProcessRunner.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace glimra::test {

void DesktopTest::SetUp()
{
    if (!qEnvironmentVariableIsEmpty("GLIMRA_NO_DESKTOP"))
        GTEST_SKIP() << "no desktop to test on: " << qgetenv("GLIMRA_NO_DESKTOP").constData();
    IsolatedTest::SetUp();
}

void DesktopTest::TearDown()
{
    if (m_xterm) {
        m_xterm->kill();
        m_xterm->waitForFinished();
    }
    if (qEnvironmentVariableIsEmpty("GLIMRA_NO_DESKTOP"))
        IsolatedTest::TearDown();
}

GlimraRun DesktopTest::glimra(const QStringList &arguments, const QByteArray &input,
                              QProcessEnvironment environment)
{
    environment.insert(u"GLIMRA_KEEP_DISPLAY"_s, u"1"_s);
    return runGlimra(arguments, input, environment);
}

QString DesktopTest::output(const QString &program, const QStringList &arguments,
                            const QByteArray &input)
{
    ProcessRequest request;
    request.program = program;
    request.arguments = arguments;
    request.input = input;
    request.keepEventLoopRunning = true;
    const ProcessResult result = ProcessRunner::run(request);
    return result.succeeded() ? QString::fromUtf8(result.standardOutput) : QString();
}

void DesktopTest::xclipSet(const QString &selection, const QString &text)
{
    // xclip forks and serves the selection from the background.
    QProcess xclip;
    xclip.setStandardOutputFile(QProcess::nullDevice());
    xclip.start(u"xclip"_s, {u"-selection"_s, selection, u"-i"_s});
    xclip.write(text.toUtf8());
    xclip.closeWriteChannel();
    ASSERT_TRUE(xclip.waitForFinished(5000));
}

QString DesktopTest::xclipGet(const QString &selection)
{
    return output(u"/usr/bin/xclip"_s, {u"-o"_s, u"-selection"_s, selection});
}

void DesktopTest::startXterm(const QString &folder)
{
    m_xterm = std::make_unique<QProcess>();
    m_xterm->setWorkingDirectory(folder);
    m_xterm->start(u"xterm"_s, {u"-e"_s, u"sh"_s, u"-c"_s, u"sleep 120"_s});
    ASSERT_TRUE(m_xterm->waitForStarted(5000)) << "xterm could not be started";
    // This xterm's own window, not one of an earlier test that is still going away.
    const QString pid = QString::number(m_xterm->processId());
    const bool active = QTest::qWaitFor(
        [this, &pid] {
            const QString window = output(u"/usr/bin/xdotool"_s, {u"getactivewindow"_s}).trimmed();
            return !window.isEmpty()
                && output(u"/usr/bin/xprop"_s, {u"-id"_s, window, u"_NET_WM_PID"_s}).trimmed().endsWith(u" "_s + pid);
        },
        30000); // a loaded machine is slow to map and activate a window
    ASSERT_TRUE(active) << "the xterm never became the active window";
}

} // namespace glimra::test
