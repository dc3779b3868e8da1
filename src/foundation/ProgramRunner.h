#pragma once

#include "foundation/Launcher.h"
#include "foundation/ProcessRunner.h"

#include <QString>
#include <QStringList>

namespace glimra {

/// What the code that runs programs is handed: it finds programs, runs them bounded
/// (ProcessRunner) and starts programs for the user (Launcher). Every function does the real
/// thing; a test overrides them to record what would have run, where nothing real can run
/// (a program that is not installed, a launch that fails). May be used from any thread,
/// except launch (main thread only).
class ProgramRunner
{
public:
    virtual ~ProgramRunner() = default;

    /// The absolute path of the program `name` as found on PATH; empty when there is none.
    virtual QString find(const QString &name) const;
    /// Runs `request` to its end or its time bound (ProcessRunner::run).
    virtual ProcessResult run(const ProcessRequest &request);
    /// Starts a program for the user and releases it (Launcher::launch).
    virtual void launch(const QString &program, const QStringList &arguments, const QString &folder,
                        const Completion &done, const Launcher::StatusMeaning &meaning = {});

    /// The real runner, shared by the whole program.
    static ProgramRunner &standard();
};

} // namespace glimra
