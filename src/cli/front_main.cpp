// The glimra command. Guessing a given text needs nothing of the desktop, and scripts run it
// often: this program runs it in a process that loads QtCore (and libperl) alone, which
// starts several times faster than one that loads the desktop's libraries (Qt's widgets,
// GUI and D-Bus modules, xcb). Every other command, and a guess that runs an action (the
// action may need the clipboard, the session bus or the display), is handed to the desktop
// program, glimra-desktop, which takes this process's place (same pid, same arguments).
#include "cli/CommandLine.h"
#include "cli/MatchCommand.h"
#include "cli/Session.h"
#include "foundation/ExitCleanup.h"

#include <QCoreApplication>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

#include <unistd.h>

namespace {

bool isGuessOnly(int argc, char *argv[])
{
    if (argc < 2 || std::strcmp(argv[1], "match") != 0)
        return false;
    // Read as QCommandLineParser would, a word "--run" that is the value of another option
    // still counts here: that guess goes to the desktop program, which parses it right.
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--run") == 0 || std::strncmp(argv[i], "--run=", 6) == 0
            || std::strcmp(argv[i], "-run") == 0 || std::strncmp(argv[i], "-run=", 5) == 0)
            return false;
    }
    return true;
}

// glimra-desktop next to this program (the build tree), else where it is installed relative
// to it; empty when this program cannot tell where it is (never a path relative to the
// current folder, which could run a file placed there).
std::string desktopProgram()
{
    char self[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0 || self[0] != '/')
        return {};
    std::string folder(self, size_t(length));
    folder = folder.substr(0, folder.rfind('/') + 1);
    const std::string beside = folder + "glimra-desktop";
    if (::access(beside.c_str(), X_OK) == 0)
        return beside;
    return folder + GLIMRA_DESKTOP_PROGRAM_FROM_BINDIR;
}

} // namespace

int main(int argc, char *argv[])
{
    if (!isGuessOnly(argc, argv)) {
        const std::string program = desktopProgram();
        if (program.empty()) {
            std::fprintf(stderr, "glimra: cannot find glimra-desktop: /proc/self/exe cannot be read\n");
            return 127;
        }
        ::execv(program.c_str(), argv);
        std::fprintf(stderr, "glimra: cannot run %s: %s\n", program.c_str(), std::strerror(errno));
        return 127;
    }
    // Whatever ends this program, its children and temporary files go with it.
    glimra::ExitCleanup::install();
    QCoreApplication application(argc, argv);
    glimra::CommandLine::nameTheApplication();
    return glimra::MatchCommand::run(QCoreApplication::arguments().mid(2),
                                     &glimra::Session::withoutDesktop);
}
