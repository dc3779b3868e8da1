#pragma once

#include <QString>

#include <sys/types.h>

namespace glimra {

/// What must not outlive the program when it is interrupted or ended (Ctrl-C, SIGTERM,
/// the desktop session closing): the process groups of the children it runs and the
/// temporary files it made. install() catches SIGINT, SIGTERM and SIGHUP; the handler
/// kills every registered process group, removes every registered file, then lets the
/// signal end the program as it would have. Registration is lock-free and may happen
/// on any thread; the handler only makes async-signal-safe calls.
class ExitCleanup
{
public:
    /// Catches the three signals, and ends every registered group when the program exits.
    /// Call once, early in main().
    static void install();

    /// Enters a process group. Async-signal-safe: a child calls it for itself between
    /// fork and exec (the table is shared with the children), so the group is known before
    /// the child runs anything. Call prepareForChildren() in the parent before forking.
    static void addProcessGroup(pid_t group);
    static void removeProcessGroup(pid_t group);
    /// Makes the shared table and forgets the groups none of whose processes runs.
    static void prepareForChildren();
    /// Kills every registered process group and forgets it: the program is quitting the
    /// ordinary way (its tray, its bus, the end of a command), and what its matchers,
    /// plug-ins and commands started goes with it. Programs launched for the user are in
    /// no registered group and stay.
    static void endChildren();

    /// False when the table is full (the file is then left to removeStaleFiles()).
    static bool addFile(const QString &path);
    static void removeFile(const QString &path);

    /// Removes files named "<prefix><pid>-*" in `folder` whose process no longer runs:
    /// what a program that was killed outright (SIGKILL, a crash) left behind.
    static void removeStaleFiles(const QString &folder, const QString &prefix);
};

} // namespace glimra
