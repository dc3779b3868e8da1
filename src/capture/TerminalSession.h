#pragma once

#include <QString>

#include <optional>

namespace glimra {

/// The session that a terminal emulator runs on a pseudo-terminal: its shell (a child of
/// the emulator that leads a session on a pseudo-terminal) and the terminal's foreground
/// process group. What a process does makes it a terminal, not its name, so every terminal
/// program counts, known or not. Read from /proc.
struct TerminalSession
{
    qint64 shell = 0;
    qint64 foregroundGroup = 0; ///< 0 or less when the terminal has none

    /// The session of the terminal emulator `pid`; nullopt when `pid` is none: no child of
    /// it leads a session on a pseudo-terminal (a program started from a shell merely
    /// inherited its terminal and leads no session).
    static std::optional<TerminalSession> of(qint64 pid);

    /// The working folder of the program in the terminal's foreground, else of its shell;
    /// null when neither can be read.
    QString foregroundFolder() const;
};

} // namespace glimra
