#pragma once

#include <string>

namespace glimra {

/// A program of Glimra's that is installed in libexec (glimra-desktop), as the glimra
/// command finds and starts it. Plain C++: it runs before any application object is made.
class LibexecProgram
{
public:
    /// The program `name` beside the running program (the build tree, or libexec itself),
    /// else where it is installed relative to the running one in bin; empty when this
    /// program cannot tell where it is (never a path relative to the current folder, which
    /// could run a file placed there).
    static std::string path(const char *name);
    /// Runs `name` in this process's place (same pid) with `argv`; on failure says why on
    /// standard error and returns 127.
    static int run(const char *name, char *const argv[]);
};

} // namespace glimra
