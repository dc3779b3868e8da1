#include "actions/WebSearchAction.h"

#include "foundation/Strings.h"

using namespace Qt::StringLiterals;

namespace glimra {

const QString WebSearchAction::Host = u"www.google.com"_s;

WebSearchAction::WebSearchAction(std::shared_ptr<FileManager> fileManager)
    : WordAction(u"WebSearchAction"_s, u"search"_s, std::move(fileManager))
{
}

std::shared_ptr<WordAction> WebSearchAction::makeOffer() const
{
    return std::make_shared<WebSearchAction>(fileManager());
}

std::optional<Url> WebSearchAction::searchURL(const QString &words)
{
    return Url::URLWithString(u"https://"_s + Host
                              + u"/search?client=safari&rls=en&q=%1&ie=UTF-8&oe=UTF-8"_s.arg(
                                  stringURLEncoded(words)));
}

void WebSearchAction::execute(const Context &, const Completion &done)
{
    const std::optional<Url> url = searchURL(word());
    if (!url)
        return complete(done, Outcome::failure(u"the words make no valid address"_s));
    if (!fileManager())
        return complete(done, Outcome::failure(u"there is no desktop to open it on"_s));
    fileManager()->open(*url, done);
}

} // namespace glimra
