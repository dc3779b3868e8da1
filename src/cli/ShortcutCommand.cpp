#include "cli/ShortcutCommand.h"

#include "cli/CommandLine.h"
#include "desktop/wayland/BindingInstaller.h"
#include "platform/UserDefaults.h"
#include "ui/ShortcutSettings.h"

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

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
              const QList<ShortcutBinding> bindings = ShortcutSettings::bindings(UserDefaults());
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
