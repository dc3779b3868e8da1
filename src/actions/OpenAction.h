#pragma once

#include "foundation/Url.h"
#include "matching/ActionObject.h"
#include "platform/FileManager.h"

#include <memory>
#include <optional>

namespace glimra {

/// "open": opens ACT_PATH (as a file URL), else ACT_URL, in its default application.
class OpenAction : public ActionObject
{
public:
    explicit OpenAction(std::shared_ptr<FileManager> fileManager);

    /// The URL captured at offer time; nullopt when ACT_URL did not parse.
    std::optional<Url> url() const { return m_url; }

    ActionList actionsForContext(const Context &matchedContext) override;
    QString whyNotOffered(const Context &) const override { return QStringLiteral("it needs ACT_PATH or ACT_URL"); }
    /// Opens url(); an offer without a URL does nothing.
    void execute(const Context &executionContext, const Completion &done) override;

private:
    std::shared_ptr<FileManager> m_fileManager;
    std::optional<Url> m_url;
};

} // namespace glimra
