#include "cli/ShortcutCommand.h"

#include "cli/CommandLine.h"
#include "desktop/wayland/BindingInstaller.h"
#include "platform/UserDefaults.h"
#include "ui/AutostartEntry.h"
#include "ui/DesktopApplication.h"

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

// The shortcut setting `key` (its default where the user set none); empty when the user
// turned the shortcut off.
QString keysOf(UserDefaults &defaults, const QString &key, const QString &fallback)
{
    return defaults.objectForKey(key).isString() ? defaults.stringForKey(key) : fallback;
}

QList<ShortcutBinding> bindingsOfTheSettings()
{
    UserDefaults defaults;
    const QString program = AutostartEntry::program();
    const QList<ShortcutBinding> all = {
        {u"guess"_s, u"Glimra: guess the selection"_s,
         keysOf(defaults, DesktopApplication::GuessSelectionShortcutKey, DesktopApplication::DefaultGuessSelectionShortcut),
         {program, u"guess"_s}},
        {u"clipboard"_s, u"Glimra: guess the clipboard"_s,
         keysOf(defaults, DesktopApplication::GuessClipboardShortcutKey, DesktopApplication::DefaultGuessClipboardShortcut),
         {program, u"clipboard"_s}},
    };
    QList<ShortcutBinding> bound;
    for (const ShortcutBinding &binding : all) {
        if (!binding.keys.isEmpty())
            bound.append(binding);
    }
    return bound;
}

int report(CommandLine &command, const BindingChange &change)
{
    if (change.result == BindingChange::Result::Failed) {
        command.err() << u"glimra shortcut: "_s << change.message << u'\n';
        return 1;
    }
    command.out() << change.message << u'\n';
    for (const QString &line : change.lines)
        command.out() << u"    "_s << line << u'\n';
    return 0;
}

} // namespace

int ShortcutCommand::run(const QStringList &arguments)
{
    CommandLine command(u"shortcut"_s, arguments);
    command.parser().addPositionalArgument(u"verb"_s, u"install or remove"_s);
    const std::unique_ptr<BindingInstaller> installer = BindingInstaller::forSession();
    return command.runVerb(
        {{u"install"_s,
          [&](const QStringList &words) {
              if (!words.isEmpty())
                  return command.usageError(u"install takes no arguments"_s);
              const QList<ShortcutBinding> bindings = bindingsOfTheSettings();
              if (bindings.isEmpty())
                  return report(command, installer->remove());
              return report(command, installer->install(bindings));
          }},
         {u"remove"_s, [&](const QStringList &words) {
              if (!words.isEmpty())
                  return command.usageError(u"remove takes no arguments"_s);
              return report(command, installer->remove());
          }}});
}

} // namespace glimra
