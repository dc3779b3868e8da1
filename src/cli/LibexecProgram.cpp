#include "cli/LibexecProgram.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

#include <unistd.h>

namespace glimra {

std::string LibexecProgram::path(const char *name)
{
    char self[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0 || self[0] != '/')
        return {};
    std::string folder(self, size_t(length));
    folder = folder.substr(0, folder.rfind('/') + 1);
    const std::string beside = folder + name;
    if (::access(beside.c_str(), X_OK) == 0)
        return beside;
    return folder + GLIMRA_LIBEXEC_FROM_BINDIR + "/" + name;
}

int LibexecProgram::run(const char *name, char *const argv[])
{
    const std::string program = path(name);
    if (program.empty()) {
        std::fprintf(stderr, "glimra: cannot find %s: /proc/self/exe cannot be read\n", name);
        return 127;
    }
    ::execv(program.c_str(), argv);
    std::fprintf(stderr, "glimra: cannot run %s: %s\n", program.c_str(), std::strerror(errno));
    return 127;
}

} // namespace glimra
