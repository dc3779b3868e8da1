#pragma once

#include "foundation/ProgramRunner.h"
#include "foundation/ScriptRun.h"
#include "matching/Context.h"

#include <QStringList>

#include <chrono>
#include <optional>

namespace glimra {

/// The environment of a shell plug-in: the context's entries, minus CTX_TEXT (it goes on
/// standard input) and minus names that are not identifiers or that a shell or the
/// dynamic loader acts on (ENV, FPATH, BASH_ENV, LD_*, PATH and other search lists; keys
/// that begin with CTX_, ACT_ or LOG_ are never among them). A value longer than
/// MaximumValueBytes of UTF-8, or holding a NUL, is cut at a character boundary, and the
/// whole set of values is held to MaximumTotalBytes, so that a huge selection can never
/// make the shell fail to start; the names of the cut keys are listed, separated by
/// spaces, in GLIMRA_CUT_KEYS.
struct ShellEnvironment
{
    static constexpr qsizetype MaximumValueBytes = 64 * 1024;
    static constexpr qsizetype MaximumTotalBytes = 1024 * 1024;

    static ShellEnvironment fromContext(const Context &context);

    QStringList entries;  ///< "NAME=value"
    QStringList cutKeys;  ///< also in entries, as GLIMRA_CUT_KEYS
    QStringList leftOut;  ///< keys not passed at all
};

/// One run of a shell plug-in, through `runner`: "/bin/ksh" with the script's path, the verb and, when given,
/// the label as one argument; the ShellEnvironment of the context; CTX_TEXT on standard
/// input. Input is written while output is read; a run that overruns `timeout` or prints
/// more than 16 MiB is killed with its process group. The output's lines, or nullopt when
/// there was no output, the exit status was not 0, the output was not UTF-8, the run
/// overran or the shell could not start. `failure` (when given) is set only when the run
/// itself failed: it says why. With `run`, standard error is kept there, with how the run
/// ended, instead of being passed on.
std::optional<QStringList> execsh(ProgramRunner &runner, const QString &scriptFile, const Context &context,
                                  const QString &verb, const QString &label,
                                  std::chrono::milliseconds timeout = std::chrono::seconds(5),
                                  QString *failure = nullptr, ScriptRun *run = nullptr);

} // namespace glimra
