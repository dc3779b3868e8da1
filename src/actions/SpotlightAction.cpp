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

void SpotlightAction::execute(const Context &, const Completion &done)
{
    if (!workspace())
        return complete(done, Outcome::failure(u"there is no desktop to search"_s));
    workspace()->showSearchResultsForQueryString(word(), done);
}

} // namespace glimra
