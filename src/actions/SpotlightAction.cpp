#include "actions/SpotlightAction.h"

using namespace Qt::StringLiterals;

namespace glimra {

SpotlightAction::SpotlightAction(std::shared_ptr<Workspace> workspace)
    : WordAction(u"SpotlightAction"_s, u"spotlight"_s, std::move(workspace))
{
}

std::shared_ptr<WordAction> SpotlightAction::makeOffer() const
{
    return std::make_shared<SpotlightAction>(sharedWorkspace());
}

void SpotlightAction::execute(const Context &)
{
    if (workspace())
        workspace()->showSearchResultsForQueryString(word());
}

} // namespace glimra
