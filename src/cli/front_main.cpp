// The glimra command. Guessing a given text needs nothing of the desktop, and scripts run it
// often: this program runs it in a process that loads QtCore (and libperl) alone, which
// starts several times faster than one that loads the desktop's libraries (Qt's widgets,
// GUI and D-Bus modules, xcb). Every other command, and a guess that runs an action (the
// action may need the clipboard, the session bus or the display), is handed to the desktop
// program, glimra-desktop, which takes this process's place (same pid, same arguments).
// `glimra guess` and `glimra clipboard` go to glimra-instance instead, which asks the
// running Glimra without loading the desktop's libraries, and hands over to glimra-desktop
// itself when none runs.
#include "cli/CommandLine.h"
#include "cli/LibexecProgram.h"
#include "cli/MatchCommand.h"
#include "cli/Session.h"
#include "foundation/ExitCleanup.h"

#include <QCoreApplication>

#include <cstring>

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

bool askedOfTheInstance(int argc, char *argv[])
{
    return argc >= 2 && (std::strcmp(argv[1], "guess") == 0 || std::strcmp(argv[1], "clipboard") == 0);
}

} // namespace

int main(int argc, char *argv[])
{
    if (askedOfTheInstance(argc, argv))
        return glimra::LibexecProgram::run("glimra-instance", argv);
    if (!isGuessOnly(argc, argv))
        return glimra::LibexecProgram::run("glimra-desktop", argv);
    // Whatever ends this program, its children and temporary files go with it.
    glimra::ExitCleanup::install();
    QCoreApplication application(argc, argv);
    glimra::CommandLine::nameTheApplication();
    return glimra::MatchCommand::run(QCoreApplication::arguments().mid(2),
                                     &glimra::Session::withoutDesktop);
}
