#pragma once

#include "matching/Context.h"
#include "matching/Explanation.h"
#include "matching/MatchRun.h"
#include "matching/PluginLists.h"
#include "matching/FileObject.h"

#include <QList>

namespace glimra {

/// Turns a selection context into the matched context, the actions on offer and the result
/// files. Keeps nothing between calls. Main thread only.
class MatchingEngine
{
public:
    /// `pluginManager` is not owned and must outlive the engine.
    explicit MatchingEngine(PluginLists *pluginManager);

    /// Runs every matcher over one working context (the user configuration of the run's
    /// settings with the selection context merged over it) and returns the matched context:
    /// the ACT_ keys present at each match, and ACT_FOUND naming the last matcher that
    /// matched.
    Context matchContext(const Context &selectionContext, const MatchRun &run = {});
    /// The offers of every action prototype, in the order of the action list; with
    /// `explanation`, what each prototype offered and why not.
    ActionList actionsForContext(const Context &matchedContext, Explanation *explanation = nullptr);
    /// The offers of the one action prototype called `name` (see ActionObject::name()).
    ActionList actionsNamed(const QString &name, const Context &matchedContext) const;
    /// A FileObject for each line of ACT_PATHS, with its line of ACT_PATH_LINES where a
    /// trace gave one, then for each line of ACT_URLS.
    QList<FileObject> filesForContext(const Context &matchedContext) const;

    /// Adds the entries of "user_context_configuration" (their text form) to `context`.
    static void mergeConfigToContext(Context &context, const Settings &settings);
    /// Copies every ACT_ key of `workingContext` into `result`.
    static void mergeContext(const Context &workingContext, Context &result);

private:
    /// Runs `matcher` and writes down what it did.
    bool explainMatch(const MatcherPtr &matcher, Context &working, Explanation &explanation);

    PluginLists *m_pluginManager;
};

} // namespace glimra
