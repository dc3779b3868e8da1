#include "app/MainInterface.h"
#include "ui/DesktopApplication.h"
#include "ui/ShortcutSettings.h"
#include "ui/Translations.h"
#include "cli/CaptureCommand.h"
#include "cli/ClipboardKeeper.h"
#include "cli/CommandLine.h"
#include "cli/DefaultsCommand.h"
#include "cli/MatchCommand.h"
#include "cli/PluginsCommand.h"
#include "cli/RunningInstance.h"
#include "cli/ScriptingCommand.h"
#ifdef GLIMRA_HAS_WAYLAND
#include "cli/DoctorCommand.h"
#include "cli/KeysCommand.h"
#include "cli/ShortcutCommand.h"
#endif
#include "cli/WindowCommand.h"
#include "cli/desktopServices.h"
#include "foundation/ExitCleanup.h"
#include "desktop/DesktopPlatform.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QLoggingCategory>
#include <QTextStream>

#include <cstdio>
#include <cstring>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

bool needsApplicationObjectOnly(const QString &command)
{
    return command == u"defaults"_s || command == u"plugins"_s || command == u"show"_s || command == u"quit"_s
        || command == u"regexp"_s || command == u"call"_s || command == u"shortcut"_s
        || command == u"doctor"_s || command == u"keys"_s;
}

bool opensAWindow(const QString &command)
{
    return command == u"preferences"_s || command == u"help"_s;
}

enum class ApplicationKind { Core, Gui, Widgets };

// The named application object of `kind`; those that reach the display use X11 (XWayland
// included). `argc` must outlive it.
std::unique_ptr<QCoreApplication> makeApplication(int &argc, char *argv[], ApplicationKind kind)
{
    if (kind != ApplicationKind::Core && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    std::unique_ptr<QCoreApplication> application;
    if (kind == ApplicationKind::Widgets)
        application = std::make_unique<QApplication>(argc, argv);
    else if (kind == ApplicationKind::Gui)
        application = std::make_unique<QGuiApplication>(argc, argv);
    else
        application = std::make_unique<QCoreApplication>(argc, argv);
    glimra::CommandLine::nameTheApplication();
    return application;
}

int runDesktopApplication(int &argc, char *argv[])
{
    if (!glimra::DesktopPlatform::displayAvailable()) {
        std::fputs("glimra: the desktop application needs an X11 display ($DISPLAY)\n", stderr);
        return 1;
    }
    const std::unique_ptr<QCoreApplication> application = makeApplication(argc, argv, ApplicationKind::Widgets);
    QGuiApplication::setDesktopFileName(u"org.glimra.Glimra"_s);
    QGuiApplication::setWindowIcon(QIcon(u":/org.glimra.Glimra.svg"_s));
    QApplication::setQuitOnLastWindowClosed(false);
    glimra::Translations::install();
    glimra::DesktopApplication desktop;
    if (!desktop.start())
        return desktop.exitStatus();
    const int status = QApplication::exec();
    // However it was asked to quit, nothing its matchers, plug-ins or commands started
    // outlives it (what it launched for the user, an editor or a browser, stays).
    glimra::ExitCleanup::endChildren();
    // A clipboard it restored after a copy outlives it.
    glimra::ClipboardKeeper::handOver(*desktop.interface().platform().clipboard);
    return status;
}

// "glimra show" and "glimra quit": a request to the running application.
int askRunningApplication(const QString &verb, const QStringList &arguments)
{
    glimra::CommandLine command(verb, arguments);
    if (!command.parseOptionsOnly())
        return command.stopStatus();
    QString problem;
    if (verb == u"show"_s ? glimra::RunningInstance::showResults(&problem) : glimra::RunningInstance::quit(&problem))
        return 0;
    QTextStream(stderr) << u"glimra %1: %2\n"_s.arg(verb, problem);
    return 1;
}

// "glimra --verbose COMMAND …": the details of every step are logged, as the rule
// QT_LOGGING_RULES="glimra.*=true" has them logged. Takes the word out of the arguments.
void takeVerboseOption(int &argc, char *argv[])
{
    if (argc < 2 || std::strcmp(argv[1], "--verbose") != 0)
        return;
    QLoggingCategory::setFilterRules(u"glimra.*=true"_s);
    for (int i = 1; i < argc; ++i)
        argv[i] = argv[i + 1];
    --argc;
}

} // namespace

int main(int argc, char *argv[])
{
    takeVerboseOption(argc, argv);
    // A shortcut is checked as a key sequence wherever it is written.
    glimra::ShortcutSettings::install();
    const QString command = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (command == u"--help"_s || command == u"-h"_s) {
        QTextStream(stdout) << glimra::CommandLine::overview();
        return 0;
    }
    if (command == u"--version"_s) {
        std::fputs("glimra " GLIMRA_VERSION "\n", stdout);
        return 0;
    }

    // Whatever ends this program, its children and temporary files go with it.
    glimra::ExitCleanup::install();

    if (command.isEmpty())
        return runDesktopApplication(argc, argv);
    if (opensAWindow(command)) {
        // A window may be shown in this process: with a display, the application object is
        // one that can show it.
        const bool display = glimra::DesktopPlatform::displayAvailable();
        const std::unique_ptr<QCoreApplication> application =
            makeApplication(argc, argv, display ? ApplicationKind::Widgets : ApplicationKind::Core);
        return glimra::WindowCommand::run(command, QCoreApplication::arguments().mid(2), display);
    }

    // The desktop services need a QGuiApplication, which needs a display; decide before
    // making either application object. X11 and XWayland only.
    const bool withDisplay = !needsApplicationObjectOnly(command)
        && glimra::DesktopPlatform::displayAvailable();
    const std::unique_ptr<QCoreApplication> application =
        makeApplication(argc, argv, withDisplay ? ApplicationKind::Gui : ApplicationKind::Core);

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
    if (command == u"show"_s || command == u"quit"_s)
        return askRunningApplication(command, arguments);
    if (command == u"call"_s)
        return glimra::ScriptingCommand::call(arguments, withDisplay);
    if (command == u"regexp"_s)
        return glimra::ScriptingCommand::regexp(arguments);
#ifdef GLIMRA_HAS_WAYLAND
    if (command == u"shortcut"_s)
        return glimra::ShortcutCommand::run(arguments);
    if (command == u"doctor"_s)
        return glimra::DoctorCommand::run(arguments);
    if (command == u"keys"_s)
        return glimra::KeysCommand::run(arguments);
#endif
    if (command == u"clipboard-keeper"_s && withDisplay && arguments.size() == 1)
        return glimra::ClipboardKeeper::run(arguments.first());
    QTextStream(stderr) << u"glimra: unknown command '%1'\n"_s.arg(command) << glimra::CommandLine::overview();
    return 2;
}
