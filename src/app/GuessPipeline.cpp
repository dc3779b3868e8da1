#include "app/GuessPipeline.h"

#include "app/ActionOrder.h"
#include "foundation/Collections.h"
#include "foundation/Log.h"
#include "matching/MatchingEngine.h"

namespace glimra {

GuessPipeline::GuessPipeline(MatchingEngine &engine, const ActionOrder &actionOrder)
    : m_engine(engine), m_actionOrder(actionOrder)
{
}

GuessResult GuessPipeline::guess(const Request &request) const
{
    GuessResult result;
    result.guess = request.guess;
    result.selectionContext = request.selectionContext;
    const auto explanation = request.explaining ? std::make_shared<Explanation>() : nullptr;
    Context matched = m_engine.matchContext(
        request.selectionContext, {request.guess, request.settings, explanation, request.runningCommands});
    for (auto it = request.produced.cbegin(); it != request.produced.cend(); ++it)
        matched.insert(it.key(), it.value());
    result.actions = ordered(matched, m_engine.actionsForContext(matched, explanation.get()),
                             request.settings.learnsActionOrder());
    result.files = m_engine.filesForContext(matched);
    result.matchedContext = std::move(matched);
    result.explanation = explanation;
    result.selectedTab = GuessResult::ActionsTab;
    return result;
}

GuessResult GuessPipeline::withLateFiles(GuessResult result, const QList<FileObject> &files, bool learned) const
{
    result.files = FileObject::withoutRepeats(result.files + files);
    if (files.isEmpty())
        return result;
    if (files.size() > 1 && !result.matchedContext.contains(ACT_PATH_LINE)) {
        result.selectedTab = GuessResult::FilesTab;
        return result;
    }
    Context matched = result.matchedContext;
    matched.insert(ACT_PATH, files.first().filePath());
    const ActionList offered = m_engine.actionsForContext(matched);
    if (offered.isEmpty())
        return result;
    ActionList actions = result.actions;
    mergeObjectsFromArray(actions, offered, [](const ActionPtr &action) { return action->name(); });
    result.actions = ordered(matched, actions, learned);
    result.matchedContext = std::move(matched);
    result.selectedTab = GuessResult::ActionsTab;
    return result;
}

QString GuessPipeline::kindTaught(const GuessResult &result, const ActionPtr &action, bool learned)
{
    if (!learned || !result.actions.contains(action))
        return {};
    return ActionOrder::kindOf(result.matchedContext);
}

void GuessPipeline::learnPick(const QString &kind, const QString &label) const
{
    if (kind.isEmpty())
        return;
    QString error;
    if (!m_actionOrder.record(kind, label, &error))
        qCWarning(lcApp).noquote() << QStringLiteral("the pick of \"%1\" is not counted: %2").arg(label, error);
}

ActionList GuessPipeline::ordered(const Context &matched, const ActionList &offered, bool learned) const
{
    return m_actionOrder.ordered(ActionOrder::kindOf(matched), offered, learned);
}

} // namespace glimra
