#pragma once

#include "matching/ActionObject.h"
#include "platform/Workspace.h"

#include <memory>

namespace glimra {

/// The base of the actions that look up ACT_WORDS: offered with a fixed label whenever
/// ACT_WORDS is present, carrying the words.
class WordAction : public ActionObject
{
public:
    WordAction(QString className, QString offerLabel, std::shared_ptr<Workspace> workspace);

    QString word() const { return m_word; }

    ActionList actionsForContext(const Context &matchedContext) override;
    QString whyNotOffered(const Context &) const override { return QStringLiteral("it needs ACT_WORDS"); }

protected:
    /// A new, unlabelled action of the derived class.
    virtual std::shared_ptr<WordAction> makeOffer() const = 0;
    Workspace *workspace() const { return m_workspace.get(); }
    std::shared_ptr<Workspace> sharedWorkspace() const { return m_workspace; }

private:
    QString m_offerLabel;
    std::shared_ptr<Workspace> m_workspace;
    QString m_word;
};

} // namespace glimra
