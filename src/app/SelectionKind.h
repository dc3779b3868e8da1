#pragma once

#include "matching/Context.h"

#include <QString>

namespace glimra {

/// What kind of selection a matched context holds, the one answer that the panel's header
/// and the learned action order both ask. Where a guess found several things the first of
/// this order wins: web addresses; a backticked command (what was selected, even where a
/// word of it names a file); a trace (a path with a line); several files; one file; a
/// calculation; any other text.
enum class SelectionKind { Nothing, WebAddresses, Command, Trace, Files, File, Calculation, Text };

/// The kind of `matched`; Nothing when it is empty.
SelectionKind selectionKindOf(const Context &matched);

/// The kind's stored name in the action order's file ("url", "command", "trace", "files",
/// "file", "calculation", "text"); null for Nothing. These names are on users' disks: they
/// never change.
QString selectionKindKey(SelectionKind kind);

} // namespace glimra
