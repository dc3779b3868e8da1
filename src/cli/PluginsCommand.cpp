#include "cli/PluginsCommand.h"

#include "app/MainInterface.h"
#include "cli/CommandLine.h"
#include "cli/Session.h"
#include "cli/desktopServices.h"
#include "matching/PluginManager.h"
#include "platform/UserDefaults.h"
#include "ui/UserEditor.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <optional>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

QJsonValue fileOrNull(const QString &file)
{
    return file.isNull() ? QJsonValue(QJsonValue::Null) : QJsonValue(file);
}

int list(CommandLine &command, PluginManager &manager, const Settings &settings)
{
    const MatcherList matchers = manager.allMatchers(settings);
    const ActionList actions = manager.actionList();
    if (command.parser().isSet(u"json"_s)) {
        QJsonArray matcherEntries;
        for (const MatcherPtr &matcher : matchers) {
            matcherEntries.append(QJsonObject{{u"name"_s, matcher->name()},
                                              {u"kind"_s, matcher->kind()},
                                              {u"file"_s, fileOrNull(matcher->scriptFile())}});
        }
        QJsonArray actionEntries;
        for (const ActionPtr &action : actions) {
            actionEntries.append(QJsonObject{{u"name"_s, action->name()},
                                             {u"file"_s, fileOrNull(action->scriptFile())}});
        }
        command.out() << QString::fromUtf8(QJsonDocument(QJsonObject{
            {u"matchers"_s, matcherEntries}, {u"actions"_s, actionEntries}}).toJson());
        return 0;
    }
    command.out() << u"matchers, in run order:\n"_s;
    for (const MatcherPtr &matcher : matchers) {
        command.out() << u"  %1 (%2)"_s.arg(matcher->name(), matcher->kind());
        if (!matcher->scriptFile().isNull())
            command.out() << u"  "_s << matcher->scriptFile();
        command.out() << u'\n';
    }
    command.out() << u"actions:\n"_s;
    for (const ActionPtr &action : actions) {
        command.out() << u"  "_s << action->name();
        if (!action->scriptFile().isNull())
            command.out() << u"  "_s << action->scriptFile();
        command.out() << u'\n';
    }
    return 0;
}

// Opens the new plug-in `file` in the user's editor and waits to hear whether it started;
// 0, else 1 with the reason printed.
int openCreated(CommandLine &command, const QString &file, FileManager *fileManager)
{
    QEventLoop loop;
    std::optional<Outcome> heard;
    UserEditor::open(file, fileManager, [&](const Outcome &outcome) {
        heard = outcome;
        loop.quit();
    });
    if (!heard)
        loop.exec();
    if (heard->ok)
        return 0;
    command.err() << u"glimra plugins: %1 was made, but it cannot be opened: %2"_s.arg(file, heard->message) << u'\n';
    return 1;
}

int create(CommandLine &command, PluginManager &manager, FileManager *fileManager, const QStringList &words)
{
    if (words.size() != 2)
        return command.usageError(u"new takes \"matcher\" or \"action\" and a name"_s);
    const QString role = words.at(0);
    // "applescript" was the handler script's first name; scripts that say it still work.
    QString kind = command.parser().value(u"kind"_s);
    if (kind == u"applescript"_s)
        kind = u"handler"_s;
    const bool open = !command.parser().isSet(u"no-open"_s);
    PluginManager::Creation creation;
    if (role == u"matcher"_s) {
        const QStringList kinds = {u"handler"_s, u"perl"_s, u"shell"_s};
        if (!kinds.contains(kind))
            return command.usageError(u"a matcher's kind is handler, perl or shell, not '%1'"_s.arg(kind));
        manager.setNewMatcherType(kinds.indexOf(kind));
        manager.setNewMatcherName(words.at(1));
        creation = manager.addMatcher(false);
    } else if (role == u"action"_s) {
        const QStringList kinds = {u"handler"_s, u"shell"_s};
        if (!kinds.contains(kind))
            return command.usageError(u"an action's kind is handler or shell, not '%1'"_s.arg(kind));
        manager.setNewActionType(kinds.indexOf(kind));
        manager.setNewActionName(words.at(1));
        creation = manager.addAction(false);
    } else {
        return command.usageError(u"new takes \"matcher\" or \"action\", not '%1'"_s.arg(role));
    }
    if (!creation.created) {
        command.err() << u"glimra plugins: "_s << creation.message << u'\n';
        return 1;
    }
    command.out() << creation.path << u'\n';
    return open ? openCreated(command, creation.path, fileManager) : 0;
}

} // namespace

int PluginsCommand::run(const QStringList &arguments)
{
    CommandLine command(u"plugins"_s, arguments);
    command.parser().addOptions({{u"json"_s, u"List as JSON."_s},
                                 {u"kind"_s, u"The kind of plug-in: handler (the default), perl or shell."_s,
                                  u"KIND"_s, u"handler"_s},
                                 {u"no-open"_s, u"Do not open the new file."_s}});
    std::unique_ptr<Session> session;
    auto manager = [&session]() -> PluginManager & {
        session = std::make_unique<Session>(desktopServices(false));
        return session->interface().pluginManager();
    };
    return command.runVerb(
        {{u"list"_s, [&](const QStringList &words) {
              if (!words.isEmpty())
                  return command.usageError(u"list takes no words"_s);
              PluginManager &plugins = manager();
              return list(command, plugins, session->interface().userDefaults().snapshot());
          }},
         {u"new"_s, [&](const QStringList &words) {
              PluginManager &plugins = manager();
              return create(command, plugins, session->interface().platform().fileManager.get(), words);
          }}});
}

} // namespace glimra
