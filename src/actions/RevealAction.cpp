#include "actions/RevealAction.h"

using namespace Qt::StringLiterals;

namespace glimra {

RevealAction::RevealAction(std::shared_ptr<FileManager> fileManager)
    : ActionObject(u"RevealAction"_s), m_fileManager(std::move(fileManager))
{
}

ActionList RevealAction::actionsForContext(const Context &context)
{
    if (!context.contains(ACT_PATH))
        return {};
    auto offer = std::make_shared<RevealAction>(m_fileManager);
    offer->setLabel(u"reveal"_s);
    offer->m_file = context.value(ACT_PATH);
    return {offer};
}

void RevealAction::execute(const Context &, const Completion &done)
{
    if (!m_fileManager)
        return complete(done, Outcome::failure(
            QT_TRANSLATE_NOOP("glimra::Outcome", "there is no desktop to reveal it on")));
    m_fileManager->reveal(m_file, done);
}

} // namespace glimra
