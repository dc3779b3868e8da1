// The glimra command. Guessing a given text needs nothing of the desktop, and scripts run it
// often: this program runs it in a process that loads QtCore, QtDBus and libperl alone,
// which starts several times faster than one that loads the desktop's libraries (Qt's
// widgets and GUI modules, xcb). Every other command, and a guess that runs an action (the
// action may need the clipboard, the session bus or the display), is handed to the desktop
// program, glimra-desktop, which takes this process's place (same pid, same arguments).
// `glimra guess` and `glimra clipboard` are asked of the running Glimra over the session bus
// by this program itself, without the desktop's libraries either: a shortcut bound to
// `glimra guess` in the desktop's settings pays for one program start, not two. Whatever it
// cannot answer as glimra-desktop would (no display variable, no session bus, nobody owns
// the name) is handed to glimra-desktop; what the running instance answers, and why it
// cannot be asked (it hangs, it serves another display), it prints itself, in the same words
// and with the same status.
#include "cli/CommandLine.h"
#include "cli/InstanceGuess.h"
#include "cli/LibexecProgram.h"
#include "cli/MatchCommand.h"
#include "cli/Session.h"
#include "foundation/ExitCleanup.h"

#include <QCoreApplication>

#include <cstring>
#include <optional>
#include <vector>

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

// `glimra guess` or `glimra clipboard`: the running Glimra's answer, else glimra-desktop's.
int askTheInstance(int argc, char *argv[])
{
    // The arguments as given, for glimra-desktop: the application object may take some out.
    const std::vector<char *> given(argv, argv + argc + 1);
    // Without a display variable glimra-desktop says there is nothing to capture from, or
    // (in a Wayland session) looks for the compositor: neither is this program's to tell.
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return glimra::LibexecProgram::run("glimra-desktop", given.data());

    QCoreApplication application(argc, argv);
    glimra::CommandLine::nameTheApplication();
    const QStringList arguments = QCoreApplication::arguments();
    const QString verb = arguments.value(1);
    glimra::CommandLine command(verb, arguments.mid(2));
    glimra::InstanceGuess::addOptions(command);
    if (!command.parseOptionsOnly())
        return command.stopStatus();
    const std::optional<double> wait = command.waitSeconds();
    if (!wait)
        return glimra::CommandLine::UsageError;
    if (const std::optional<int> status = glimra::InstanceGuess::ask(command, verb, *wait))
        return *status;
    // None runs: glimra-desktop guesses in its own process, as it always has.
    return glimra::LibexecProgram::run("glimra-desktop", given.data());
}

} // namespace

int main(int argc, char *argv[])
{
    if (askedOfTheInstance(argc, argv))
        return askTheInstance(argc, argv);
    if (!isGuessOnly(argc, argv))
        return glimra::LibexecProgram::run("glimra-desktop", argv);
    // Whatever ends this program, its children and temporary files go with it.
    glimra::ExitCleanup::install();
    QCoreApplication application(argc, argv);
    glimra::CommandLine::nameTheApplication();
    return glimra::MatchCommand::run(QCoreApplication::arguments().mid(2),
                                     &glimra::Session::withoutDesktop);
}
