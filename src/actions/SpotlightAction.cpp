#include "actions/SpotlightAction.h"

using namespace Qt::StringLiterals;

namespace glimra {

SpotlightAction::SpotlightAction(std::shared_ptr<FileManager> fileManager)
    : WordAction(u"SpotlightAction"_s, u"spotlight"_s, std::move(fileManager))
{
}

std::shared_ptr<WordAction> SpotlightAction::makeOffer() const
{
    return std::make_shared<SpotlightAction>(fileManager());
}

void SpotlightAction::execute(const Context &, const Completion &done)
{
    if (!fileManager())
        return complete(done, Outcome::failure(
            QT_TRANSLATE_NOOP("glimra::Outcome", "there is no desktop to search")));
    fileManager()->showSearchResults(word(), done);
}

} // namespace glimra
