#include "actions/WordAction.h"

namespace glimra {

WordAction::WordAction(QString className, QString offerLabel,
                       std::shared_ptr<FileManager> fileManager)
    : ActionObject(std::move(className)),
      m_offerLabel(std::move(offerLabel)),
      m_fileManager(std::move(fileManager))
{
}

ActionList WordAction::actionsForContext(const Context &context)
{
    if (!context.contains(ACT_WORDS))
        return {};
    std::shared_ptr<WordAction> offer = makeOffer();
    offer->setLabel(m_offerLabel);
    offer->m_word = context.value(ACT_WORDS);
    return {offer};
}

} // namespace glimra
