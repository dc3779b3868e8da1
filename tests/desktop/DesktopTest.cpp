#include "DesktopTest.h"

#include "capture/TerminalSession.h"
#include "foundation/ProcessRunner.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTest>

using namespace Qt::StringLiterals;

namespace glimra::test {

void CopyingWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Copy))
        QGuiApplication::clipboard()->setText(u"selected in the window"_s);
}

void DesktopTest::SetUp()
{
    if (!qEnvironmentVariableIsEmpty("GLIMRA_NO_DESKTOP"))
        GTEST_SKIP() << "no desktop to test on: " << qgetenv("GLIMRA_NO_DESKTOP").constData();
    IsolatedTest::SetUp();
}

void DesktopTest::TearDown()
{
    if (m_terminal) {
        m_terminal->kill();
        m_terminal->waitForFinished();
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
    // The process that serves the text takes the selection after the first one returned.
    ASSERT_TRUE(QTest::qWaitFor([&] { return xclipGet(selection) == text; }, 5000))
        << "xclip never took the " << selection.toStdString() << " selection";
}

QString DesktopTest::xclipGet(const QString &selection)
{
    return output(u"/usr/bin/xclip"_s, {u"-o"_s, u"-selection"_s, selection});
}

void DesktopTest::startXterm(const QString &folder)
{
    startTerminal(u"xterm"_s, folder, u"sleep 120"_s);
}

void DesktopTest::startTerminal(const QString &program, const QString &folder, const QString &command)
{
    m_terminal = std::make_unique<QProcess>();
    m_terminal->setWorkingDirectory(folder);
    m_terminal->start(program, {u"-e"_s, u"sh"_s, u"-c"_s, command});
    ASSERT_TRUE(m_terminal->waitForStarted(5000)) << program.toStdString() << " could not be started";
    // Its window may be up before the command runs in it, on a loaded machine.
    ASSERT_TRUE(QTest::qWaitFor([&] { return TerminalSession::of(m_terminal->processId()).has_value(); }, 10000))
        << program.toStdString() << " never ran its command on a pseudo-terminal";
    waitUntilActive(m_terminal->processId());
}

void DesktopTest::waitUntilActive(qint64 pid)
{
    // This process's own window, not one of an earlier test that is still going away.
    const QString suffix = u" "_s + QString::number(pid);
    auto isActive = [this, &suffix] {
        const QString window = output(u"/usr/bin/xdotool"_s, {u"getactivewindow"_s}).trimmed();
        return !window.isEmpty()
            && output(u"/usr/bin/xprop"_s, {u"-id"_s, window, u"_NET_WM_PID"_s}).trimmed().endsWith(suffix);
    };
    if (QTest::qWaitFor(isActive, 5000))
        return;
    // The window manager may keep the focus where the last key press went (focus stealing
    // prevention): the test activates its window as a user would click on it.
    const bool active = QTest::qWaitFor(
        [&] {
            const QString windows = output(u"/usr/bin/xdotool"_s, {u"search"_s, u"--onlyvisible"_s,
                                                                   u"--pid"_s, QString::number(pid)});
            const QString window = windows.section(u'\n', 0, 0).trimmed();
            if (!window.isEmpty())
                output(u"/usr/bin/xdotool"_s, {u"windowactivate"_s, window});
            return isActive();
        },
        25000); // a loaded machine is slow to map and activate a window
    ASSERT_TRUE(active) << "the window of process " << pid << " never became the active window; its windows: "
                        << output(u"/usr/bin/xdotool"_s, {u"search"_s, u"--pid"_s, QString::number(pid)}).toStdString()
                        << "; the active window: "
                        << output(u"/usr/bin/xdotool"_s, {u"getactivewindow"_s, u"getwindowname"_s}).toStdString()
                        << "; process state: " << (m_terminal ? int(m_terminal->state()) : -1);
}

} // namespace glimra::test
