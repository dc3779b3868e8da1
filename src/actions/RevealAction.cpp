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

void RevealAction::execute(const Context &, const Completion &done)
{
    if (!m_workspace)
        return complete(done, Outcome::failure(u"there is no desktop to reveal it on"_s));
    m_workspace->selectFile(m_file, u""_s, done);
}

} // namespace glimra
