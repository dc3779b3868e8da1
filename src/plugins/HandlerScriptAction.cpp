#include "plugins/HandlerScriptAction.h"

#include "foundation/Paths.h"

using namespace Qt::StringLiterals;

namespace glimra {

HandlerScriptAction::HandlerScriptAction(const QString &scriptFile, ProgramRunner &runner)
    : ActionObject(u"HandlerScriptAction"_s, scriptFile),
      m_script(HandlerScript::load(scriptFile, runner))
{
}

HandlerScriptAction::HandlerScriptAction(std::shared_ptr<HandlerScript> script)
    : ActionObject(u"HandlerScriptAction"_s), m_script(std::move(script))
{
}

QString HandlerScriptAction::name() const
{
    return m_name.isEmpty() ? basename(scriptFile()) : m_name;
}

ActionList HandlerScriptAction::actionsForContext(const Context &context)
{
    if (!m_script)
        return {};
    m_lastRun = {};
    const QVariant result = m_script->call(u"matched_actions"_s, {toJsonObject(context)}, nullptr,
                                           explaining() ? &m_lastRun : nullptr);
    // A result of another kind than a list offers nothing.
    if (result.typeId() != QMetaType::QVariantList)
        return {};
    ActionList offered;
    for (const QVariant &title : result.toList()) {
        auto action = std::make_shared<HandlerScriptAction>(m_script);
        action->setLabel(title.toString());
        action->setName(name());
        offered.append(action);
    }
    return offered;
}

void HandlerScriptAction::execute(const Context &context, const Completion &done)
{
    if (!m_script)
        return complete(done, Outcome::failure(QT_TRANSLATE_NOOP("glimra::Outcome", "%1 cannot be loaded"), {name()}));
    QString failure;
    m_script->call(u"execute_action"_s, {label(), toJsonObject(context)}, &failure);
    complete(done, Outcome::unlessFailed(name(), failure));
}

} // namespace glimra
