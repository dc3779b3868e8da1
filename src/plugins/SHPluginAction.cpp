#include "plugins/SHPluginAction.h"

#include "foundation/Paths.h"
#include "foundation/Strings.h"
#include "plugins/execsh.h"

using namespace Qt::StringLiterals;

namespace glimra {

SHPluginAction::SHPluginAction(const QString &scriptFile, ProgramRunner &runner)
    : ActionObject(u"SHPluginAction"_s, scriptFile), m_runner(runner)
{
}

QString SHPluginAction::name() const
{
    return m_name.isEmpty() ? basename(scriptFile()) : m_name;
}

ActionList SHPluginAction::actionsForContext(const Context &context)
{
    m_lastRun = {};
    const std::optional<QStringList> lines = execsh(m_runner, scriptFile(), context, u"actions"_s, label(), std::chrono::seconds(5),
                                                    nullptr, explaining() ? &m_lastRun : nullptr);
    if (!lines)
        return {};
    ActionList offered;
    for (const QString &line : *lines) {
        const QString title = trim(line);
        if (str_isNullOrEmpty(title))
            continue;
        auto action = std::make_shared<SHPluginAction>(scriptFile(), m_runner);
        action->setLabel(title);
        action->setName(name());
        offered.append(action);
    }
    return offered;
}

void SHPluginAction::execute(const Context &context, const Completion &done)
{
    QString failure;
    execsh(m_runner, scriptFile(), context, u"execute"_s, label(), std::chrono::seconds(5), &failure);
    complete(done, Outcome::unlessFailed(name(), failure));
}

} // namespace glimra
