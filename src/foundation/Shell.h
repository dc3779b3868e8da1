#pragma once

#include "foundation/ProgramRunner.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>

namespace glimra {

/// Runs `program` (an absolute path) with `arguments` through `runner`, writes `input` to its standard
/// input and returns its standard output without the final line break: a null text when it
/// printed nothing, when it overran `timeout` (its process group is then killed) or could
/// not start. `failure`, when given, says why the program did not end normally (empty when
/// it did). `environment`, when given, is the child's whole environment.
QString pipe_program(ProgramRunner &runner, const QString &input, const QString &program, const QStringList &arguments,
                     std::chrono::milliseconds timeout, QString *failure = nullptr,
                     const std::optional<QStringList> &environment = std::nullopt);

/// `text` as one single-quoted shell word: every character is taken literally, a single
/// quote inside is written as '\''.
QString shellQuote(const QString &text);

} // namespace glimra
