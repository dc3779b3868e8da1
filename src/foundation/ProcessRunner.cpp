#include "foundation/ProcessRunner.h"

#include "foundation/Log.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QProcess>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <climits>

#include <signal.h>
#include <unistd.h>

namespace glimra {

namespace {

void configure(QProcess &process, const ProcessRequest &request)
{
    process.setProgram(request.program);
    process.setArguments(request.arguments);
    if (request.environment) {
        QProcessEnvironment environment; // empty: nothing of ours is inherited
        for (const QString &entry : *request.environment) {
            const qsizetype equals = entry.indexOf(u'=');
            if (equals > 0)
                environment.insert(entry.left(equals), entry.mid(equals + 1));
        }
        process.setProcessEnvironment(environment);
    }
    if (!request.workingDirectory.isEmpty())
        process.setWorkingDirectory(request.workingDirectory);
    process.setProcessChannelMode(request.forwardStandardError ? QProcess::ForwardedErrorChannel
                                                               : QProcess::SeparateChannels);
    // Debian's Qt 6.4 has no process-group option: make the child a session leader, so its
    // pid is also the id of a process group that holds everything it starts.
    process.setChildProcessModifier([] { ::setsid(); });
}

int remainingMilliseconds(const QDeadlineTimer &deadline)
{
    return int(std::clamp<qint64>(deadline.remainingTime(), 1, INT_MAX));
}

void killGroup(QProcess &process)
{
    const qint64 pid = process.processId();
    if (pid > 0)
        ::kill(-pid_t(pid), SIGKILL);
    process.kill();
    process.waitForFinished(2000);
}

bool waitBlocking(QProcess &process, QDeadlineTimer deadline)
{
    // waitForFinished() keeps writing pending input and reading both outputs meanwhile.
    return process.waitForFinished(remainingMilliseconds(deadline));
}

bool waitWithEventLoop(QProcess &process, QDeadlineTimer deadline)
{
    if (process.state() == QProcess::NotRunning)
        return true;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, [&loop] { loop.exit(1); });
    QObject::connect(&process, &QProcess::finished, &loop, [&loop] { loop.exit(0); });
    timer.start(remainingMilliseconds(deadline));
    return loop.exec() == 0;
}

// Hands output over as it arrives; stops at the deadline or when cancelled.
bool waitStreaming(QProcess &process, QDeadlineTimer deadline, const ProcessRequest &request,
                   bool &cancelled)
{
    while (true) {
        const bool finished = process.state() == QProcess::NotRunning;
        const QByteArray chunk = process.readAllStandardOutput();
        if (!chunk.isEmpty())
            request.onStandardOutput(chunk);
        if (finished)
            return true;
        if (request.cancelled && *request.cancelled) {
            cancelled = true;
            return false;
        }
        if (deadline.hasExpired())
            return false;
        if (!process.waitForReadyRead(std::min(100, remainingMilliseconds(deadline))))
            process.waitForFinished(0);
    }
}

bool canRunEventLoop()
{
    return QCoreApplication::instance()
        && QThread::currentThread() == QCoreApplication::instance()->thread();
}

} // namespace

ProcessResult ProcessRunner::run(const ProcessRequest &request)
{
    ProcessResult result;
    const QDeadlineTimer deadline(request.timeout);
    QProcess process;
    configure(process, request);
    process.start(QIODevice::ReadWrite);
    if (!process.waitForStarted(remainingMilliseconds(deadline))) {
        qCDebug(lcFoundation) << "could not start" << request.program << process.errorString();
        return result;
    }
    result.started = true;
    if (!request.input.isEmpty())
        process.write(request.input);
    process.closeWriteChannel();

    bool finished = false;
    if (request.onStandardOutput)
        finished = waitStreaming(process, deadline, request, result.cancelled);
    else if (request.keepEventLoopRunning && canRunEventLoop())
        finished = waitWithEventLoop(process, deadline);
    else
        finished = waitBlocking(process, deadline);
    if (!finished) {
        if (!result.cancelled)
            qCDebug(lcFoundation) << request.program << "overran its time bound; killed";
        result.timedOut = !result.cancelled;
        killGroup(process);
    }
    if (!request.onStandardOutput)
        result.standardOutput = process.readAllStandardOutput();
    if (!request.forwardStandardError)
        result.standardError = process.readAllStandardError();
    result.normalExit = finished && process.exitStatus() == QProcess::NormalExit;
    result.exitCode = process.exitCode();
    return result;
}

} // namespace glimra
