#include "matching/MatchingEngine.h"

#include "foundation/Collections.h"
#include "foundation/Strings.h"
#include "foundation/Url.h"

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
        if (!matcher->matches(working))
            continue;
        mergeContext(working, result);
        result.insert(ACT_FOUND, matcher->name());
    }
    return result;
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

ActionList MatchingEngine::actionsForContext(const Context &matchedContext)
{
    ActionList offered;
    const ActionList prototypes = m_pluginManager->actionList();
    for (const ActionPtr &prototype : prototypes)
        offered.append(prototype->actionsForContext(matchedContext));
    return offered;
}

QList<FileObject> MatchingEngine::filesForContext(const Context &matchedContext) const
{
    QList<FileObject> files;
    for (const QString &path : split(matchedContext.value(ACT_PATHS), u"\n"_s)) {
        FileObject file;
        file.setLabel(path);
        file.setFilePath(path);
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
    return files;
}

} // namespace glimra
