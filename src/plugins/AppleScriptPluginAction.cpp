#include "plugins/AppleScriptPluginAction.h"

#include "foundation/Paths.h"

using namespace Qt::StringLiterals;

namespace glimra {

AppleScriptPluginAction::AppleScriptPluginAction(const QString &scriptFile)
    : ActionObject(u"AppleScriptPluginAction"_s, scriptFile),
      m_asScript(HandlerScript::load(scriptFile))
{
}

AppleScriptPluginAction::AppleScriptPluginAction(std::shared_ptr<HandlerScript> script)
    : ActionObject(u"AppleScriptPluginAction"_s), m_asScript(std::move(script))
{
}

QString AppleScriptPluginAction::name() const
{
    return m_name.isEmpty() ? basename(scriptFile()) : m_name;
}

QString AppleScriptPluginAction::description() const
{
    return u"AppleScriptAction %1"_s.arg(name());
}

ActionList AppleScriptPluginAction::actionsForContext(const Context &context)
{
    if (!m_asScript)
        return {};
    m_lastRun = {};
    const QVariant result = m_asScript->call(u"matched_actions"_s, {toJsonObject(context)}, nullptr,
                                             explaining() ? &m_lastRun : nullptr);
    // A result of another kind than a list offers nothing.
    if (result.typeId() != QMetaType::QVariantList)
        return {};
    ActionList offered;
    for (const QVariant &title : result.toList()) {
        auto action = std::make_shared<AppleScriptPluginAction>(m_asScript);
        action->setLabel(title.toString());
        action->setName(name());
        offered.append(action);
    }
    return offered;
}

void AppleScriptPluginAction::execute(const Context &context, const Completion &done)
{
    if (!m_asScript)
        return complete(done, Outcome::failure(u"%1 cannot be loaded"_s.arg(name())));
    QString failure;
    m_asScript->call(u"execute_action"_s, {label(), toJsonObject(context)}, &failure);
    complete(done, Outcome::unlessFailed(name(), failure));
}

} // namespace glimra
