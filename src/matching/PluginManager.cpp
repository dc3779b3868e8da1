#include "matching/PluginManager.h"

#include "actions/OpenAction.h"
#include "actions/PasteAction.h"
#include "actions/RevealAction.h"
#include "actions/SpotlightAction.h"
#include "actions/WebSearchAction.h"
#include "foundation/Collections.h"
#include "foundation/EventCenter.h"
#include "foundation/Log.h"
#include "foundation/Paths.h"
#include "foundation/ScriptFile.h"
#include "matchers/DCalcMatch.h"
#include "matchers/FileMatch.h"
#include "matchers/FileSearchMatch.h"
#include "matchers/SHBangMatch.h"
#include "matchers/URLMatch.h"
#include "matchers/WordMatch.h"
#include "matching/EMailAction.h"
#include "matching/RegExpMatcher.h"
#include "platform/UserDefaults.h"
#include "plugins/AppleScriptPluginAction.h"
#include "plugins/AppleScriptPluginMatcher.h"
#include "plugins/PerlPluginMatcher.h"
#include "plugins/SHPluginAction.h"
#include "plugins/SHPluginMatcher.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

const QString RefreshEvent = u"refresh_plugins"_s;

template <typename Host, typename List>
void mergePlugins(List &list, const QString &pattern)
{
    const QStringList patterns = {u"${APP_PLUGINS}/"_s + pattern,
                                  PluginManager::userPluginsDir() + u'/' + pattern};
    for (const QString &glob : patterns) {
        for (const QString &file : ls_files(glob)) {
            const QString why = ScriptFile::whyNotLoadable(file);
            if (!why.isNull()) {
                qCWarning(lcMatching).noquote() << u"plug-in %1 skipped: %2"_s.arg(file, why);
                continue;
            }
            mergeObject(list, typename List::value_type(std::make_shared<Host>(file)),
                        [](const auto &element) { return element->name(); });
        }
    }
}

QString refusal(const QString &name)
{
    if (name.trimmed().isEmpty())
        return u"a plug-in needs a name"_s;
    if (name.contains(u'/'))
        return u"the name \"%1\" holds a \"/\"; plug-ins stay in the plug-in folder"_s.arg(name);
    if (name.startsWith(u'.'))
        return u"the name \"%1\" begins with \".\"; plug-ins stay in the plug-in folder"_s.arg(name);
    for (const QChar c : name) {
        if (c.category() == QChar::Other_Control)
            return u"the name holds a control character"_s;
    }
    return {};
}

} // namespace

PluginManager::PluginManager(const void *applicationDelegate, Platform platform)
    : m_applicationDelegate(applicationDelegate), m_platform(std::move(platform))
{
}

PluginManager::~PluginManager()
{
    unbind_event(m_applicationDelegate, this);
}

QString PluginManager::userPluginsDir()
{
    return appSupportDir() + u"/Glimra/PlugIns"_s;
}

void PluginManager::awakeFromNib()
{
    loadMatchPlugins();
    loadActionPlugins();
    mk_dirs(userPluginsDir());
    bind_event(m_applicationDelegate, RefreshEvent, this, [this] { refreshPlugins(); });
}

void PluginManager::loadMatchPlugins()
{
    MatcherList matchers = {std::make_shared<WordMatch>(), std::make_shared<DCalcMatch>(),
                            std::make_shared<URLMatch>(), std::make_shared<FileMatch>(),
                            std::make_shared<SHBangMatch>()};
    mergePlugins<PerlPluginMatcher>(matchers, u"*Matcher*.pl"_s);
    mergePlugins<AppleScriptPluginMatcher>(matchers, u"*Matcher*.scpt"_s);
    mergePlugins<SHPluginMatcher>(matchers, u"*Matcher*.sh"_s);
    if (!m_searchMatch)
        m_searchMatch = std::make_shared<FileSearchMatch>();
    matchers.append(m_searchMatch);
    m_matcherList = matchers;
}

void PluginManager::loadActionPlugins()
{
    ActionList actions = {std::make_shared<PasteAction>(m_platform.generalPasteboard),
                          std::make_shared<OpenAction>(m_platform.workspace),
                          std::make_shared<RevealAction>(m_platform.workspace),
                          std::make_shared<EMailAction>(),
                          std::make_shared<WebSearchAction>(m_platform.workspace),
                          std::make_shared<SpotlightAction>(m_platform.workspace)};
    mergePlugins<AppleScriptPluginAction>(actions, u"*Action*.scpt"_s);
    mergePlugins<SHPluginAction>(actions, u"*Action*.sh"_s);
    m_actionList = actions;
}

void PluginManager::refreshPlugins()
{
    loadActionPlugins();
    loadMatchPlugins();
}

MatcherList PluginManager::allMatchers()
{
    // Read once per guess: an edit of the entries applies to the next guess.
    const QJsonArray entries = UserDefaults().arrayForKey(u"regexp_matchers"_s);
    MatcherList all;
    populateRegExp(all, entries, CapturedPrefix);
    all.append(m_matcherList);
    populateRegExp(all, entries, ResultPrefix);
    return all;
}

void PluginManager::populateRegExp(MatcherList &matchers, const QJsonArray &entries,
                                   const QString &prefix) const
{
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QJsonObject entry = entries.at(i).toObject();
        const QString key = entry.value(u"matched_key"_s).toString();
        const QString regexp = entry.value(u"regexp"_s).toString();
        if (!key.startsWith(prefix) || key.isEmpty() || regexp.isEmpty())
            continue;
        // Such an entry never matches; say so once per guess, where the user can see why.
        const QString problem = UserDefaults::regexpProblem(regexp);
        if (!problem.isNull())
            qCWarning(lcMatching).noquote() << u"regexp_matchers entry %1: %2"_s.arg(i).arg(problem);
        matchers.append(std::make_shared<RegExpMatcher>(
            key, entry.value(u"matched_value"_s).toString(), regexp));
    }
}

PluginManager::Creation PluginManager::addMatcher(bool openFile)
{
    const QString extension = m_newMatcherType == 1 ? u"pl"_s
                            : m_newMatcherType == 2 ? u"sh"_s
                                                    : u"scpt"_s;
    return addPlugin(m_newMatcherName, u"Matcher"_s, extension, u"MatchTemplate"_s, openFile);
}

PluginManager::Creation PluginManager::addAction(bool openFile)
{
    const QString extension = m_newActionType == 1 ? u"sh"_s : u"scpt"_s;
    return addPlugin(m_newActionName, u"Action"_s, extension, u"ActionTemplate"_s, openFile);
}

PluginManager::Creation PluginManager::addPlugin(const QString &name, const QString &role,
                                                 const QString &extension,
                                                 const QString &templateName, bool openFile)
{
    Creation creation;
    creation.message = refusal(name);
    if (!creation.message.isEmpty())
        return creation;
    mk_dirs(userPluginsDir());
    const QString source = f(u"${APP_RESOURCES}/%1.%2"_s.arg(templateName, extension));
    creation.path = u"%1/%2%3.%4"_s.arg(userPluginsDir(), name, role, extension);
    if (path_exists(creation.path)) {
        creation.message = u"%1 exists already; nothing was changed"_s.arg(creation.path);
        return creation;
    }
    if (!cp_file(source, creation.path)) {
        creation.message = u"could not copy %1 to %2"_s.arg(source, creation.path);
        return creation;
    }
    // An installed template may be read-only; the user's copy is theirs to edit.
    QFile::setPermissions(creation.path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                                             | QFile::ReadOther);
    creation.created = true;
    if (openFile && m_platform.workspace)
        m_platform.workspace->open_file(creation.path);
    send_event(m_applicationDelegate, RefreshEvent);
    return creation;
}

} // namespace glimra
