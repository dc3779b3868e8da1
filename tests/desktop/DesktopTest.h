#pragma once

#include "GlimraProcess.h"
#include "TestEnvironment.h"

#include <QProcess>
#include <QTest>
#include <QWindow>

#include <memory>

namespace glimra::test {

/// A window of this test program, which runs nothing on a pseudo-terminal: like an editor,
/// it copies its selection ("selected in the window") when it gets the copy keystroke.
class CopyingWindow : public QWindow
{
protected:
    void keyPressEvent(QKeyEvent *event) override;
};

/// A test on the private desktop of run-with-desktop.sh; skipped, with the reason, where
/// there is none.
class DesktopTest : public IsolatedTest
{
protected:
    void SetUp() override;
    void TearDown() override;

    /// Runs glimra on this desktop.
    GlimraRun glimra(const QStringList &arguments, const QByteArray &input = {},
                     QProcessEnvironment environment = QProcessEnvironment::systemEnvironment());
    /// The output of a program, run with the event loop running; null when it failed.
    QString output(const QString &program, const QStringList &arguments, const QByteArray &input = {});
    /// Makes `text` the content of an X selection, served by xclip.
    void xclipSet(const QString &selection, const QString &text);
    QString xclipGet(const QString &selection);
    /// Starts an xterm whose shell waits in `folder`, and waits until it is the active window.
    void startXterm(const QString &folder);
    /// Starts the terminal `program` running `sh -c command` in `folder`, and waits until the
    /// command runs and the terminal is the active window. The terminal ends with the test.
    void startTerminal(const QString &program, const QString &folder, const QString &command);
    /// Waits until the active window is one of the process `pid`.
    void waitUntilActive(qint64 pid);

private:
    std::unique_ptr<QProcess> m_terminal;
};

} // namespace glimra::test
