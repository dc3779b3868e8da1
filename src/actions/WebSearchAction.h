#pragma once

#include "actions/WordAction.h"
#include "foundation/Url.h"

namespace glimra {

/// "search": looks ACT_WORDS up with a web search engine in the default browser, over
/// HTTPS so that the selection does not cross the network in the clear.
class WebSearchAction : public WordAction
{
public:
    static const QString Host;

    explicit WebSearchAction(std::shared_ptr<FileManager> fileManager);
    void execute(const Context &executionContext, const Completion &done) override;

    /// The query URL for `words`.
    static std::optional<Url> searchURL(const QString &words);

protected:
    std::shared_ptr<WordAction> makeOffer() const override;
};

} // namespace glimra
