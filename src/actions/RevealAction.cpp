#include "actions/RevealAction.h"

using namespace Qt::StringLiterals;

namespace glimra {

RevealAction::RevealAction(std::shared_ptr<Workspace> workspace)
    : ActionObject(u"RevealAction"_s), m_workspace(std::move(workspace))
{
}

ActionList RevealAction::actionsForContext(const Context &context)
{
    if (!context.contains(ACT_PATH))
        return {};
    auto offer = std::make_shared<RevealAction>(m_workspace);
    offer->setLabel(u"reveal"_s);
    offer->m_file = context.value(ACT_PATH);
    return {offer};
}

void RevealAction::execute(const Context &)
{
    if (m_workspace)
        m_workspace->selectFile(m_file, u""_s);
}

} // namespace glimra
