#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>

namespace glimra {

/// What to run. Programs are named by absolute path wherever `environment` is given,
/// because the program is looked up with this process's PATH, not the child's.
struct ProcessRequest
{
    QString program;
    QStringList arguments;
    /// The child's whole environment as "NAME=value" entries; nullopt inherits ours.
    std::optional<QStringList> environment;
    /// Written to standard input while output is read, then standard input is closed.
    QByteArray input;
    QString workingDirectory;
    std::chrono::milliseconds timeout{std::chrono::seconds(5)};
    /// Pass standard error through to ours instead of capturing it.
    bool forwardStandardError = false;
    /// Wait with the event loop running. Needed while this program may own the X
    /// clipboard: a child that reads it would otherwise wait for us while we wait for it.
    bool keepEventLoopRunning = false;
    /// When set, standard output is handed over piece by piece as it arrives (for a child
    /// that prints more than is worth keeping) instead of being collected in the result.
    std::function<void(const QByteArray &)> onStandardOutput;
    /// When set and it becomes true, the child is killed and the run ends (another thread
    /// may set it).
    const std::atomic<bool> *cancelled = nullptr;
    /// The most standard output (and, when captured, standard error) kept; a child that
    /// prints more is killed as if it had overrun its time bound.
    qsizetype maximumOutput = 16 * 1024 * 1024;
};

struct ProcessResult
{
    bool started = false;
    bool timedOut = false;
    /// Printed more than maximumOutput; counts as an overrun (timedOut is set too).
    bool overflowed = false;
    bool cancelled = false;
    bool normalExit = false;
    int exitCode = -1;
    QByteArray standardOutput;
    QByteArray standardError;

    /// Started, not killed, exited normally with status 0.
    bool succeeded() const { return started && !timedOut && normalExit && exitCode == 0; }
    /// Why the run did not succeed, in a few words ("it ran too long and was stopped").
    QString failureDescription() const;
};

/// Runs every external program of the application. Each child gets a session (and process
/// group) of its own, so that on overrun the child and everything it started are killed
/// together; it is killed too when the thread that started it ends, and its group when
/// the program is interrupted (ExitCleanup), so no child outlives us. Standard input is
/// written while output is read, so a child that prints more than a pipe holds before
/// reading its input never hangs us. Output beyond maximumOutput ends the run.
class ProcessRunner
{
public:
    static ProcessResult run(const ProcessRequest &request);
};

} // namespace glimra
