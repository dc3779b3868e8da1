#include "matching/MatchingEngine.h"

#include "foundation/Collections.h"
#include "foundation/Strings.h"
#include "foundation/Url.h"

#include <QElapsedTimer>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace glimra {

MatchingEngine::MatchingEngine(PluginLists *pluginManager) : m_pluginManager(pluginManager) {}

Context MatchingEngine::matchContext(const Context &selectionContext, const MatchRun &run)
{
    const MatcherList matchers = m_pluginManager->allMatchers(run.settings);
    Context result;
    Context working;
    mergeConfigToContext(working, run.settings);
    mergeObjectsFromDictionary(working, selectionContext);
    for (const MatcherPtr &matcher : matchers)
        matcher->beginRun(run);
    for (const MatcherPtr &matcher : matchers) {
        const bool matched = run.explanation ? explainMatch(matcher, working, *run.explanation)
                                             : matcher->matches(working);
        if (!matched)
            continue;
        mergeContext(working, result);
        result.insert(ACT_FOUND, matcher->name());
    }
    return result;
}

bool MatchingEngine::explainMatch(const MatcherPtr &matcher, Context &working, Explanation &explanation)
{
    Explanation::Matcher entry;
    entry.name = matcher->name();
    entry.kind = matcher->kind();
    entry.file = matcher->scriptFile();
    const Context before = working; // shared, not copied, until a matcher writes
    matcher->setExplaining(true);
    QElapsedTimer clock;
    clock.start();
    entry.matched = matcher->matches(working);
    entry.milliseconds = double(clock.nsecsElapsed()) / 1e6;
    matcher->setExplaining(false);
    for (auto it = working.cbegin(); it != working.cend(); ++it) {
        const auto old = before.constFind(it.key());
        // The same text, shared, is the common case: no character is compared then.
        if (old == before.cend() || (old->constData() != it->constData() && *old != *it))
            entry.wrote.insert(it.key(), it.value());
    }
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (!working.contains(it.key()))
            entry.removed.append(it.key());
    }
    if (!entry.matched)
        entry.why = matcher->whyNot(working);
    entry.script = matcher->lastScriptRun();
    explanation.matchers.append(entry);
    return entry.matched;
}

void MatchingEngine::mergeConfigToContext(Context &context, const Settings &settings)
{
    const QJsonObject configuration = settings.dictionaryForKey(u"user_context_configuration"_s);
    mergeObjectsFromDictionary(context, contextFromVariantMap(configuration.toVariantMap()));
}

void MatchingEngine::mergeContext(const Context &workingContext, Context &result)
{
    for (auto it = workingContext.cbegin(); it != workingContext.cend(); ++it) {
        if (isResultKey(it.key()))
            result.insert(it.key(), it.value());
    }
}

ActionList MatchingEngine::actionsForContext(const Context &matchedContext, Explanation *explanation)
{
    ActionList offered;
    const ActionList prototypes = m_pluginManager->actionList();
    for (const ActionPtr &prototype : prototypes) {
        if (!explanation) {
            offered.append(prototype->actionsForContext(matchedContext));
            continue;
        }
        prototype->setExplaining(true);
        const ActionList offers = prototype->actionsForContext(matchedContext);
        prototype->setExplaining(false);
        Explanation::Action entry{prototype->name(), prototype->scriptFile(), {}, {}, prototype->lastScriptRun()};
        for (const ActionPtr &offer : offers)
            entry.offered.append(offer->label());
        if (offers.isEmpty())
            entry.why = prototype->whyNotOffered(matchedContext);
        explanation->actions.append(entry);
        offered.append(offers);
    }
    return offered;
}

ActionList MatchingEngine::actionsNamed(const QString &name, const Context &matchedContext) const
{
    for (const ActionPtr &prototype : m_pluginManager->actionList()) {
        if (prototype->name() == name)
            return prototype->actionsForContext(matchedContext);
    }
    return {};
}

QList<FileObject> MatchingEngine::filesForContext(const Context &matchedContext) const
{
    QList<FileObject> files;
    const QStringList lines = matchedContext.value(ACT_PATH_LINES).split(u'\n');
    const QStringList paths = split(matchedContext.value(ACT_PATHS), u"\n"_s);
    for (const QString &path : paths) {
        FileObject file;
        file.setLabel(path);
        file.setFilePath(path);
        // The lines run beside the paths only where the matcher wrote one per path.
        if (lines.size() == paths.size())
            file.setLine(lines.at(files.size()));
        file.setUrlPath(Url::fileURLWithPath(path).absoluteString());
        files.append(file);
    }
    for (const QString &text : split(matchedContext.value(ACT_URLS), u"\n"_s)) {
        FileObject file;
        file.setLabel(text);
        if (const std::optional<Url> url = Url::URLWithString(text))
            file.setUrlPath(url->absoluteString());
        files.append(file);
    }
    // A selection that names one file or address many times lists it once.
    return FileObject::withoutRepeats(files);
}

} // namespace glimra
