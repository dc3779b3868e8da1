#include "cli/CaptureCommand.h"
#include "cli/ClipboardKeeper.h"
#include "cli/DefaultsCommand.h"
#include "cli/MatchCommand.h"
#include "cli/PluginsCommand.h"
#include "foundation/ExitCleanup.h"
#include "foundation/HandlerScript.h"
#include "platform/desktop/DesktopPlatform.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const char *const Usage =
    "usage: glimra <command> [options]\n"
    "\n"
    "  match [--text TEXT | --text-file FILE] [--context KEY=VALUE]... [--wait SECONDS]\n"
    "        [--run LABEL] [--json]    guess a text (standard input by default)\n"
    "  guess [--json]                  guess the selection of the front-most application\n"
    "  clipboard [--json]              guess the clipboard\n"
    "  service [--json]                guess standard input as a Services request\n"
    "  defaults read [KEY] | write KEY JSON | delete KEY\n"
    "                                  read and change the settings\n"
    "  plugins list [--json]           list the matchers and actions\n"
    "  plugins new matcher|action NAME [--kind KIND] [--no-open]\n"
    "                                  create a plug-in from its template\n";

bool needsApplicationObjectOnly(const QString &command)
{
    return command == u"defaults"_s || command == u"plugins"_s;
}

} // namespace

int main(int argc, char *argv[])
{
    // Whatever ends this program, its children and temporary files go with it.
    glimra::ExitCleanup::install();
    glimra::HandlerScript::removeStaleSnapshots();

    const QString command = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    // The desktop services need a QGuiApplication, which needs a display; decide before
    // making either application object. X11 and XWayland only.
    const bool withDisplay = !needsApplicationObjectOnly(command)
        && glimra::DesktopPlatform::displayAvailable();
    if (withDisplay && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    std::unique_ptr<QCoreApplication> application = withDisplay
        ? std::make_unique<QGuiApplication>(argc, argv)
        : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(u"Glimra"_s);

    QStringList arguments = QCoreApplication::arguments().mid(2);
    if (command == u"match"_s)
        return glimra::MatchCommand::run(arguments, withDisplay);
    if (command == u"guess"_s || command == u"clipboard"_s || command == u"service"_s)
        return glimra::CaptureCommand::run(command, arguments, withDisplay);
    if (command == u"defaults"_s)
        return glimra::DefaultsCommand::run(arguments);
    if (command == u"plugins"_s)
        return glimra::PluginsCommand::run(arguments);
    if (command == u"clipboard-keeper"_s && withDisplay && arguments.size() == 1)
        return glimra::ClipboardKeeper::run(arguments.first());
    if (command == u"help"_s || command == u"--help"_s || command == u"-h"_s) {
        std::fputs(Usage, stdout);
        return 0;
    }
    QTextStream(stderr) << (command.isEmpty() ? u"glimra: a command is needed\n"_s
                                              : u"glimra: unknown command '%1'\n"_s.arg(command))
                        << QString::fromLatin1(Usage);
    return 2;
}
