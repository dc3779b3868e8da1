#include "cli/WindowCommand.h"

#include "app/MainInterface.h"
#include "ui/IntroPanel.h"
#include "ui/PreferencesWindow.h"
#include "ui/Translations.h"
#include "cli/CommandLine.h"
#include "cli/RunningInstance.h"
#include "foundation/Paths.h"
#include "matching/PluginManager.h"
#include "platform/UserDefaults.h"
#include "desktop/DesktopPlatform.h"

#include <QApplication>
#include <QFile>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

int printDocument(CommandLine &command, const QString &document)
{
    QFile file(expandPath(u"${APP_RESOURCES}/help/%1.md"_s.arg(document)));
    if (!file.open(QIODevice::ReadOnly)) {
        command.err() << u"glimra help: %1 cannot be read\n"_s.arg(file.fileName());
        return 1;
    }
    command.out() << QString::fromUtf8(file.readAll());
    return 0;
}

// The window in this process, until the user closes it.
int showHere(const QString &verb, const QString &word)
{
    QApplication::setQuitOnLastWindowClosed(true);
    Translations::install();
    MainInterface interface(DesktopPlatform::create(true), std::make_shared<UserDefaults>(), nullptr);
    std::unique_ptr<QWidget> window;
    if (verb == u"preferences"_s) {
        // Shortcuts are grabbed by the running application; set here, they apply when it starts.
        auto preferences = std::make_unique<PreferencesWindow>(interface, GeneralPage::ShortcutTrial());
        preferences->showPage(word);
        window = std::move(preferences);
    } else {
        auto help = std::make_unique<IntroPanel>(&interface.pluginManager());
        word == u"actions"_s ? help->goToActionsDocument() : help->goToManualDocument();
        help->show();
        window = std::move(help);
    }
    return QApplication::exec();
}

} // namespace

int WindowCommand::run(const QString &verb, const QStringList &arguments, bool display)
{
    CommandLine command(verb, arguments);
    if (!command.parse())
        return command.stopStatus();
    const QStringList words = command.parser().positionalArguments();
    const QStringList allowed = verb == u"help"_s
        ? QStringList{u"manual"_s, u"actions"_s}
        : QStringList{u"general"_s, u"rules"_s, u"context"_s, u"search"_s, u"plugins"_s};
    if (words.size() > 1 || (!words.isEmpty() && !allowed.contains(words.first())))
        return command.usageError(u"takes at most one of: %1"_s.arg(allowed.join(u", "_s)));
    const QString word = words.value(0, verb == u"help"_s ? u"manual"_s : QString());

    QString problem;
    if (RunningInstance::show(verb == u"help"_s ? u"ShowHelp"_s : u"ShowPreferencesPage"_s, {word}, &problem))
        return 0;
    if (!display) {
        if (verb == u"help"_s)
            return printDocument(command, word);
        command.err() << u"glimra preferences: there is no display to show the window on\n"_s;
        return 1;
    }
    return showHere(verb, word);
}

} // namespace glimra
