#include "app/ui/DesktopApplication.h"
#include "cli/CaptureCommand.h"
#include "cli/ClipboardKeeper.h"
#include "cli/CommandLine.h"
#include "cli/DefaultsCommand.h"
#include "cli/MatchCommand.h"
#include "cli/PluginsCommand.h"
#include "cli/RunningInstance.h"
#include "cli/WindowCommand.h"
#include "cli/desktopServices.h"
#include "foundation/ExitCleanup.h"
#include "platform/desktop/DesktopPlatform.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QTextStream>

#include <cstdio>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const char *const Usage =
    "usage: glimra [<command> [options]]\n"
    "\n"
    "  (no command)                    start the desktop application, or show the panel of\n"
    "                                  the one that runs\n"
    "  show                            show the results panel of the running application\n"
    "  match [--text TEXT | --text-file FILE] [--context KEY=VALUE]... [--wait SECONDS]\n"
    "        [--run LABEL] [--json]    guess a text (standard input by default)\n"
    "  guess [--json]                  guess the selection of the front-most application\n"
    "  clipboard [--json]              guess the clipboard\n"
    "  service [--json]                guess standard input as a Services request\n"
    "  defaults read [KEY] | write KEY JSON | delete KEY\n"
    "                                  read and change the settings\n"
    "  plugins list [--json]           list the matchers and actions\n"
    "  plugins new matcher|action NAME [--kind KIND] [--no-open]\n"
    "                                  create a plug-in from its template\n"
    "  preferences [PAGE]              the preferences window\n"
    "  help [actions]                  the manual, or the actions document\n";

bool needsApplicationObjectOnly(const QString &command)
{
    return command == u"defaults"_s || command == u"plugins"_s || command == u"show"_s;
}

bool opensAWindow(const QString &command)
{
    return command == u"preferences"_s || command == u"help"_s;
}

int runDesktopApplication(int argc, char *argv[])
{
    if (!glimra::DesktopPlatform::displayAvailable()) {
        std::fputs("glimra: the desktop application needs an X11 display ($DISPLAY)\n", stderr);
        return 1;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication application(argc, argv);
    glimra::CommandLine::nameTheApplication();
    QGuiApplication::setDesktopFileName(u"org.glimra.Glimra"_s);
    QGuiApplication::setWindowIcon(QIcon(u":/org.glimra.Glimra.svg"_s));
    QApplication::setQuitOnLastWindowClosed(false);
    glimra::DesktopApplication desktop;
    if (!desktop.start())
        return 0;
    return QApplication::exec();
}

int showResults()
{
    QString problem;
    if (glimra::RunningInstance::showResults(&problem))
        return 0;
    QTextStream(stderr) << u"glimra show: Glimra is not running (%1); start it with \"glimra\"\n"_s.arg(problem);
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    // Whatever ends this program, its children and temporary files go with it.
    glimra::ExitCleanup::install();

    const QString command = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (command.isEmpty())
        return runDesktopApplication(argc, argv);
    if (opensAWindow(command)) {
        // A window may be shown in this process: with a display, the application object is
        // one that can show it.
        const bool display = glimra::DesktopPlatform::displayAvailable();
        if (display && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "xcb");
        std::unique_ptr<QCoreApplication> application = display
            ? std::make_unique<QApplication>(argc, argv)
            : std::make_unique<QCoreApplication>(argc, argv);
        glimra::CommandLine::nameTheApplication();
        return glimra::WindowCommand::run(command, QCoreApplication::arguments().mid(2), display);
    }

    // The desktop services need a QGuiApplication, which needs a display; decide before
    // making either application object. X11 and XWayland only.
    const bool withDisplay = !needsApplicationObjectOnly(command)
        && glimra::DesktopPlatform::displayAvailable();
    if (withDisplay && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    std::unique_ptr<QCoreApplication> application = withDisplay
        ? std::make_unique<QGuiApplication>(argc, argv)
        : std::make_unique<QCoreApplication>(argc, argv);
    glimra::CommandLine::nameTheApplication();

    QStringList arguments = QCoreApplication::arguments().mid(2);
    if (command == u"match"_s)
        return glimra::MatchCommand::run(arguments,
                                         [withDisplay] { return glimra::desktopServices(withDisplay); });
    if (command == u"guess"_s || command == u"clipboard"_s || command == u"service"_s)
        return glimra::CaptureCommand::run(command, arguments, withDisplay);
    if (command == u"defaults"_s)
        return glimra::DefaultsCommand::run(arguments);
    if (command == u"plugins"_s)
        return glimra::PluginsCommand::run(arguments);
    if (command == u"show"_s)
        return showResults();
    if (command == u"clipboard-keeper"_s && withDisplay && arguments.size() == 1)
        return glimra::ClipboardKeeper::run(arguments.first());
    if (command == u"--help"_s || command == u"-h"_s) {
        std::fputs(Usage, stdout);
        return 0;
    }
    QTextStream(stderr) << u"glimra: unknown command '%1'\n"_s.arg(command) << QString::fromLatin1(Usage);
    return 2;
}
