#pragma once

#include "foundation/ProcessRunner.h"

#include <QObject>
#include <QProcess>
#include <QTimer>

#include <functional>

namespace glimra {

/// A child run in the background, with what ProcessRunner guarantees (a process group of its
/// own, the time bound, the output bound, killed with its group on overrun), while the
/// event loop goes on: a command the user runs for minutes never holds up the desktop, and
/// quitting the program never waits for it. Main thread only.
class ProcessJob : public QObject
{
    Q_OBJECT
public:
    using Done = std::function<void(const ProcessResult &result)>;

    /// Starts `request`; `done` hears once how it ended, on a later turn of the event loop.
    /// The job is a child of the application object and deletes itself after `done`: were
    /// the application to end first, the child's group is killed with it, and `done` is
    /// never called.
    static ProcessJob *start(const ProcessRequest &request, Done done);
    ~ProcessJob() override;

private:
    ProcessJob(const ProcessRequest &request, Done done);
    void end(bool finished, bool timedOut, bool overflowed);

    ProcessRequest m_request;
    Done m_done;
    QProcess m_process;
    QTimer m_deadline;
    ProcessResult m_result;
    bool m_ended = false;
};

} // namespace glimra
