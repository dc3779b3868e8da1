#pragma once

#include "matching/ActionObject.h"
#include "platform/FileManager.h"

#include <memory>

namespace glimra {

/// "reveal": shows ACT_PATH selected in the file manager.
class RevealAction : public ActionObject
{
public:
    explicit RevealAction(std::shared_ptr<FileManager> fileManager);

    QString file() const { return m_file; }

    ActionList actionsForContext(const Context &matchedContext) override;
    QString whyNotOffered(const Context &) const override { return QStringLiteral("it needs ACT_PATH"); }
    void execute(const Context &executionContext, const Completion &done) override;

private:
    std::shared_ptr<FileManager> m_fileManager;
    QString m_file;
};

} // namespace glimra
