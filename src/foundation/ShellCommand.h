#pragma once

#include "foundation/ProcessRunner.h"

#include <QString>

#include <chrono>
#include <optional>

namespace glimra {

/// A command the user wrote between backticks: run by /bin/sh, after a change to a folder
/// when one is given, bounded to ten seconds; what it printed, trimmed, is its result.
struct ShellCommand
{
    static constexpr std::chrono::milliseconds TimeBound{10000};

    /// The shell's command line: "cd -- 'FOLDER' || exit 126;COMMAND" (the command runs
    /// only in its folder, never where Glimra happens to be), or the command alone without
    /// a folder.
    static QString line(const QString &command, const std::optional<QString> &folder);
    /// Why the command cannot run in `folder` ("the folder … cannot be entered: …"); null
    /// when it can, or when no folder is given.
    static QString whyNotIn(const std::optional<QString> &folder);
    static ProcessRequest request(const QString &command, const std::optional<QString> &folder);
    /// What the command printed, trimmed of white space at both ends; null when it printed
    /// nothing, could not start or was stopped.
    static QString output(const ProcessResult &result);
};

} // namespace glimra
