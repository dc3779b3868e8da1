#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <chrono>
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
};

struct ProcessResult
{
    bool started = false;
    bool timedOut = false;
    bool normalExit = false;
    int exitCode = -1;
    QByteArray standardOutput;
    QByteArray standardError;

    /// Started, not killed, exited normally with status 0.
    bool succeeded() const { return started && !timedOut && normalExit && exitCode == 0; }
};

/// Runs every external program of the application. Each child gets a session (and process
/// group) of its own, so that on overrun the child and everything it started are killed
/// together. Standard input is written while output is read, so a child that prints more
/// than a pipe holds before reading its input never hangs us.
class ProcessRunner
{
public:
    static ProcessResult run(const ProcessRequest &request);
};

} // namespace glimra
