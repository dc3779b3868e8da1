#pragma once

#include "foundation/ProcessRunner.h"

#include <QProcess>

// What the blocking run (ProcessRunner) and the run in the background (ProcessJob) share.
namespace glimra::processes {

/// Sets up `process` for `request`: its program, arguments, environment and folder, and a
/// process group of its own, entered in ExitCleanup's table before it runs anything; it
/// dies with the thread that started it.
void configure(QProcess &process, const ProcessRequest &request);
/// Kills the child's whole process group and waits (briefly) until the child is gone.
void killGroup(QProcess &process);
/// Moves what the child printed into `result` (or hands standard output over piece by
/// piece); false once more than the request allows has arrived.
bool collect(QProcess &process, const ProcessRequest &request, ProcessResult &result);
/// Fills in how a started run ended, once its child is gone; forgets its group.
void conclude(QProcess &process, ProcessResult &result, bool finished, bool timedOut, bool cancelled,
              bool overflowed);

} // namespace glimra::processes
