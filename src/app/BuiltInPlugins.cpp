#include "app/BuiltInPlugins.h"

#include "actions/CopyAction.h"
#include "actions/EMailAction.h"
#include "actions/OpenAction.h"
#include "actions/OpenAtLineAction.h"
#include "actions/PasteAction.h"
#include "actions/RevealAction.h"
#include "actions/RunCommandAction.h"
#include "actions/SpotlightAction.h"
#include "actions/WebSearchAction.h"
#include "capture/TerminalSession.h"
#include "capture/WindowFacts.h"
#include "matchers/DCalcMatch.h"
#include "matchers/FileMatch.h"
#include "matchers/FileSearchMatch.h"
#include "matchers/SHBangMatch.h"
#include "matchers/URLMatch.h"
#include "matchers/WordMatch.h"
#include "plugins/HandlerScriptAction.h"
#include "plugins/HandlerScriptMatcher.h"
#include "plugins/PerlEngine.h"
#include "plugins/PerlPluginMatcher.h"
#include "plugins/SHPluginAction.h"
#include "plugins/SHPluginMatcher.h"

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

template <typename Host>
PluginCatalogue::Host<MatcherPtr> matcherHost(const QStringList &patterns)
{
    return {patterns, [](const QString &file) -> MatcherPtr { return std::make_shared<Host>(file); }};
}

template <typename Host>
PluginCatalogue::Host<ActionPtr> actionHost(const QStringList &patterns)
{
    return {patterns, [](const QString &file) -> ActionPtr { return std::make_shared<Host>(file); }};
}

// The handler scripts of a role ("Matcher" or "Action"): files ending in ".handler", or in
// ".scpt", the older name of the ending, which loads alike.
QStringList handlerScripts(const QString &role)
{
    return {u"*%1*.handler"_s.arg(role), u"*%1*.scpt"_s.arg(role)};
}

// Whether the application a context came from is a terminal, as capture knows it: its
// front window's process runs a session on a pseudo-terminal.
PasteAction::TerminalTest isTerminal(const Platform &platform)
{
    return [applications = platform.runningApplications](const Context &context) {
        const WindowFacts facts = WindowFacts::ofApplication(applications.get(), context.value(CTX_APPID));
        return facts.pid > 0 && TerminalSession::of(facts.pid).has_value();
    };
}

// What the text setting `key` holds when asked (empty when unset or without settings).
std::function<QString()> setting(const std::function<Settings()> &settings, const QString &key)
{
    return [settings, key] { return settings ? settings().stringForKey(key) : QString(); };
}

} // namespace

BuiltInPlugins::BuiltInPlugins(Platform platform, std::function<Settings()> settings)
    : m_platform(std::move(platform)),
      m_settings(std::move(settings)),
      m_searchMatch(std::make_shared<FileSearchMatch>())
{
}

BuiltInPlugins::~BuiltInPlugins() = default;

PluginCatalogue BuiltInPlugins::catalogue() const
{
    PluginCatalogue catalogue;
    catalogue.builtInMatchers = [] {
        return MatcherList{std::make_shared<WordMatch>(), std::make_shared<DCalcMatch>(),
                           std::make_shared<URLMatch>(), std::make_shared<FileMatch>(),
                           std::make_shared<SHBangMatch>()};
    };
    catalogue.builtInActions = [platform = m_platform, settings = m_settings] {
        return ActionList{std::make_shared<RunCommandAction>(),
                          std::make_shared<PasteAction>(platform.clipboard, isTerminal(platform)),
                          std::make_shared<OpenAction>(platform.fileManager),
                          std::make_shared<RevealAction>(platform.fileManager),
                          std::make_shared<EMailAction>(),
                          std::make_shared<WebSearchAction>(platform.fileManager, setting(settings, WebSearchAction::SettingKey)),
                          std::make_shared<SpotlightAction>(platform.fileManager),
                          std::make_shared<OpenAtLineAction>(platform.fileManager,
                                                             setting(settings, u"editor_command"_s)),
                          std::make_shared<CopyAction>(platform.clipboard)};
    };
    catalogue.searchMatcher = m_searchMatch;
    // The one Perl engine is made when the first Perl plug-in is: no interpreter exists
    // where nobody writes Perl plug-ins.
    auto perl = std::make_shared<std::weak_ptr<PerlEngine>>();
    catalogue.matcherHosts = {{{u"*Matcher*.pl"_s},
                               [perl](const QString &file) -> MatcherPtr {
                                   std::shared_ptr<PerlEngine> engine = perl->lock();
                                   if (!engine) {
                                       engine = std::make_shared<PerlEngine>();
                                       *perl = engine;
                                   }
                                   return std::make_shared<PerlPluginMatcher>(file, engine);
                               }},
                              matcherHost<HandlerScriptMatcher>(handlerScripts(u"Matcher"_s)),
                              matcherHost<SHPluginMatcher>({u"*Matcher*.sh"_s})};
    catalogue.actionHosts = {actionHost<HandlerScriptAction>(handlerScripts(u"Action"_s)),
                             actionHost<SHPluginAction>({u"*Action*.sh"_s})};
    return catalogue;
}

} // namespace glimra
