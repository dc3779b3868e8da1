#include "actions/OpenAction.h"

using namespace Qt::StringLiterals;

namespace glimra {

OpenAction::OpenAction(std::shared_ptr<FileManager> fileManager)
    : ActionObject(u"OpenAction"_s), m_fileManager(std::move(fileManager))
{
}

ActionList OpenAction::actionsForContext(const Context &context)
{
    std::optional<Url> url;
    if (context.contains(ACT_PATH))
        url = Url::fileURLWithPath(context.value(ACT_PATH));
    else if (context.contains(ACT_URL))
        url = Url::URLWithString(context.value(ACT_URL));
    else
        return {};
    auto offer = std::make_shared<OpenAction>(m_fileManager);
    offer->setLabel(u"open"_s);
    offer->m_url = url;
    return {offer};
}

void OpenAction::execute(const Context &, const Completion &done)
{
    if (!m_url)
        return complete(done, Outcome::failure(
            QT_TRANSLATE_NOOP("glimra::Outcome", "there is no valid URL to open")));
    if (!m_fileManager)
        return complete(done, Outcome::failure(
            QT_TRANSLATE_NOOP("glimra::Outcome", "there is no desktop to open it on")));
    m_fileManager->open(*m_url, done);
}

} // namespace glimra
