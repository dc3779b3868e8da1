#include "foundation/ProcessRunner.h"

#include "foundation/ExitCleanup.h"
#include "foundation/Log.h"
#include "foundation/ProcessRunner_p.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QProcess>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <climits>

#include <fcntl.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace glimra {

using namespace processes;

namespace {

// How long one wait for output lasts at most: output is collected (and its size checked)
// at least this often.
constexpr int WaitSliceMs = 20;

enum class Ending { AppQuit = 0, Finished, TimedOut, Cancelled, Overflowed };

int remainingMilliseconds(const QDeadlineTimer &deadline)
{
    return int(std::clamp<qint64>(deadline.remainingTime(), 1, INT_MAX));
}

Ending waitBlocking(QProcess &process, QDeadlineTimer deadline, const ProcessRequest &request,
                    ProcessResult &result)
{
    while (true) {
        // Read the state first: output that arrived before the end is collected below.
        const bool finished = process.state() == QProcess::NotRunning;
        if (!collect(process, request, result))
            return Ending::Overflowed;
        if (finished)
            return Ending::Finished;
        if (request.cancelled && *request.cancelled)
            return Ending::Cancelled;
        if (deadline.hasExpired())
            return Ending::TimedOut;
        // Waiting for output also writes pending input and reads standard error.
        if (!process.waitForReadyRead(std::min(WaitSliceMs, remainingMilliseconds(deadline))))
            process.waitForFinished(0);
    }
}

Ending waitWithEventLoop(QProcess &process, QDeadlineTimer deadline,
                         const ProcessRequest &request, ProcessResult &result)
{
    QEventLoop loop;
    auto check = [&] {
        if (!collect(process, request, result))
            loop.exit(int(Ending::Overflowed));
    };
    QObject::connect(&process, &QProcess::readyReadStandardOutput, &loop, check);
    QObject::connect(&process, &QProcess::readyReadStandardError, &loop, check);
    QObject::connect(&process, &QProcess::finished, &loop,
                     [&loop] { loop.exit(int(Ending::Finished)); });
    // A coarse timer may fire up to 5 % early: a program must have its whole time.
    QTimer::singleShot(remainingMilliseconds(deadline), Qt::PreciseTimer, &loop,
                       [&loop] { loop.exit(int(Ending::TimedOut)); });
    if (process.state() == QProcess::NotRunning)
        return collect(process, request, result) ? Ending::Finished : Ending::Overflowed;
    const auto ending = Ending(loop.exec());
    if (ending == Ending::Finished && !collect(process, request, result))
        return Ending::Overflowed;
    return ending;
}

bool canRunEventLoop()
{
    return QCoreApplication::instance()
        && QThread::currentThread() == QCoreApplication::instance()->thread();
}

} // namespace

namespace processes {

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
    const pid_t parent = ::getpid();
    ExitCleanup::prepareForChildren();
    process.setChildProcessModifier([parent] {
        // Debian's Qt 6.4 has no process-group option: make the child the leader of a
        // process group of its own, which holds everything it starts. Not of a session of
        // its own: where the scheduler groups processes by session (autogroup), a new
        // session waits behind every other one on a busy machine, some ten milliseconds
        // before a child as short as bc may run.
        ::setpgid(0, 0);
        // Still in our session, the child would share our controlling terminal as a
        // background group: a plug-in touching /dev/tty (stty, a password prompt) would
        // be stopped until its time bound ran out. Giving the terminal up makes that fail
        // at once, as it did in a session of its own; no signal is sent, since the child
        // leads no session.
        const int terminal = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (terminal >= 0) {
            ::ioctl(terminal, TIOCNOTTY);
            ::close(terminal);
        }
        ExitCleanup::addProcessGroup(::getpid());
        // The child dies with the thread that started it; if that happened before this
        // line, there is nobody left to read its output.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(127);
    });
}

void killGroup(QProcess &process)
{
    const qint64 pid = process.processId();
    if (pid > 0)
        ::kill(-pid_t(pid), SIGKILL);
    process.kill();
    process.waitForFinished(2000);
}

bool collect(QProcess &process, const ProcessRequest &request, ProcessResult &result)
{
    const QByteArray output = process.readAllStandardOutput();
    if (request.onStandardOutput) {
        if (!output.isEmpty())
            request.onStandardOutput(output);
    } else {
        result.standardOutput += output;
    }
    if (!request.forwardStandardError)
        result.standardError += process.readAllStandardError();
    return result.standardOutput.size() <= request.maximumOutput
        && result.standardError.size() <= request.maximumOutput;
}

void conclude(QProcess &process, ProcessResult &result, bool finished, bool timedOut, bool cancelled,
              bool overflowed)
{
    const pid_t group = pid_t(process.processId()); // entered by the child itself
    if (!finished)
        killGroup(process);
    // The group may still hold children the child left running in the background: they
    // stay registered, and end when we quit (ExitCleanup), as nothing a plug-in or command
    // started may outlive us. Killed, the group is gone.
    if (group > 0 && (!finished || ::kill(-group, 0) != 0))
        ExitCleanup::removeProcessGroup(group);
    result.cancelled = cancelled;
    result.overflowed = overflowed;
    if (overflowed) {
        result.standardOutput.clear();
        result.standardError.clear();
    }
    result.timedOut = timedOut || overflowed;
    result.normalExit = finished && process.exitStatus() == QProcess::NormalExit;
    result.exitCode = process.exitCode();
}

} // namespace processes

QString ProcessResult::failureDescription() const
{
    using namespace Qt::StringLiterals;
    if (!started)
        return u"it could not be started"_s;
    if (cancelled)
        return u"it was cancelled"_s;
    if (overflowed)
        return u"it printed too much and was stopped"_s;
    if (timedOut)
        return u"it ran too long and was stopped"_s;
    if (!normalExit)
        return u"it crashed"_s;
    if (exitCode != 0)
        return u"it exited with status %1"_s.arg(exitCode);
    return {};
}

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

    const bool eventLoop = request.keepEventLoopRunning && !request.onStandardOutput
        && canRunEventLoop();
    Ending ending = eventLoop ? waitWithEventLoop(process, deadline, request, result)
                              : waitBlocking(process, deadline, request, result);
    // The application is quitting (its exit ends every event loop): the child goes too.
    if (ending != Ending::Finished && ending != Ending::TimedOut && ending != Ending::Overflowed)
        ending = Ending::Cancelled;
    if (ending == Ending::TimedOut)
        qCDebug(lcFoundation) << request.program << "overran its time bound; killed";
    else if (ending == Ending::Overflowed)
        qCDebug(lcFoundation) << request.program << "printed more than" << request.maximumOutput
                              << "bytes; killed";
    conclude(process, result, ending == Ending::Finished, ending == Ending::TimedOut,
             ending == Ending::Cancelled, ending == Ending::Overflowed);
    return result;
}

} // namespace glimra
