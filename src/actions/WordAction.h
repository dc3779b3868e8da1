#pragma once

#include "matching/ActionObject.h"
#include "platform/FileManager.h"

#include <memory>

namespace glimra {

/// The base of the actions that look up ACT_WORDS: offered with a fixed label whenever
/// ACT_WORDS is present, carrying the words.
class WordAction : public ActionObject
{
public:
    WordAction(QString className, QString offerLabel, std::shared_ptr<FileManager> fileManager);

    QString word() const { return m_word; }

    ActionList actionsForContext(const Context &matchedContext) override;
    QString whyNotOffered(const Context &) const override { return QStringLiteral("it needs ACT_WORDS"); }

protected:
    /// A new, unlabelled action of the derived class.
    virtual std::shared_ptr<WordAction> makeOffer() const = 0;
    const std::shared_ptr<FileManager> &fileManager() const { return m_fileManager; }

private:
    QString m_offerLabel;
    std::shared_ptr<FileManager> m_fileManager;
    QString m_word;
};

} // namespace glimra
