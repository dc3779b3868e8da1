#pragma once

#include "matching/Context.h"

#include <QStringList>

#include <chrono>
#include <optional>

namespace glimra {

/// One run of a shell plug-in: "/bin/ksh" with the script's path, the verb and, when given,
/// the label as one argument; an environment made only of the context's entries minus
/// CTX_TEXT; CTX_TEXT on standard input. Input is written while output is read; a run that
/// overruns `timeout` is killed with its process group. The output's lines, or nullopt
/// when there was no output, the exit status was not 0, the output was not UTF-8, the run
/// overran or the shell could not start.
std::optional<QStringList> execsh(const QString &scriptFile, const Context &context,
                                  const QString &verb, const QString &label,
                                  std::chrono::milliseconds timeout = std::chrono::seconds(5));

} // namespace glimra
