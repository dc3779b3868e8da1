// glimra-instance: `glimra guess` and `glimra clipboard` asked of the running Glimra. The
// glimra command hands these two here; this program loads QtCore and QtDBus alone (no Qt GUI,
// no xcb, no libperl), so that a shortcut bound to `glimra guess` reaches the running
// instance in a fraction of the time glimra-desktop takes to start. Whatever it cannot
// answer as glimra-desktop would (no display variable, no session bus, nobody owns the
// name) it hands to glimra-desktop, which takes this process's place with the same
// arguments. What the running instance answers, and why it cannot be asked (it hangs, it
// serves another display), it prints itself, in the same words and with the same status.
#include "cli/CommandLine.h"
#include "cli/InstanceGuess.h"
#include "cli/LibexecProgram.h"

#include <QCoreApplication>

#include <optional>
#include <vector>

int main(int argc, char *argv[])
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
