#pragma once

#include "foundation/Completion.h"
#include "foundation/ScriptRun.h"
#include "matching/Context.h"

#include <QList>
#include <QString>

#include <memory>

namespace glimra {

class ActionObject;
using ActionPtr = std::shared_ptr<ActionObject>;
using ActionList = QList<ActionPtr>;

/// The base of every action. The objects of the plug-in manager's action list are
/// prototypes: actionsForContext() decides from the matched context what can be offered
/// and returns new, labelled actions that carry what they need, so that execute() needs
/// nothing but their own fields and the execution context. Main thread only.
class ActionObject
{
public:
    explicit ActionObject(QString className, QString scriptFile = {});
    virtual ~ActionObject();

    ActionObject(const ActionObject &) = delete;
    ActionObject &operator=(const ActionObject &) = delete;

    virtual QString name() const;
    QString label() const { return m_label; }
    void setLabel(const QString &label) { m_label = label; }
    /// What an offered action will act on, shown in full beside its label where it matters
    /// to the user's choice (the command "run" runs, the value "copy" copies); null for none.
    QString detail() const { return m_detail; }
    void setDetail(const QString &detail) { m_detail = detail; }
    QString scriptFile() const { return m_scriptFile; }

    /// The actions offered for `matchedContext`; the default offers none.
    virtual ActionList actionsForContext(const Context &matchedContext);
    /// Why actionsForContext() offered nothing for `matchedContext`, where the action
    /// knows (what it needs); null otherwise. Asked only when a guess is explained.
    virtual QString whyNotOffered(const Context &matchedContext) const;
    /// The program an offer's title names for what does the work ("DuckDuckGo" in "Search
    /// DuckDuckGo for …"), where the action itself knows it; null otherwise.
    virtual QString titleName() const;
    /// How a plug-in's script ended when it was last asked for offers.
    virtual ScriptRun lastScriptRun() const;
    void setExplaining(bool explaining) { m_explaining = explaining; }
    bool explaining() const { return m_explaining; }

    /// Runs the action with `executionContext` and calls `done` once when it has ended, at
    /// once or later, with a failure when it could not be carried out. The default does
    /// nothing and reports it done.
    virtual void execute(const Context &executionContext, const Completion &done);

private:
    QString m_className;
    QString m_label;
    QString m_detail;
    QString m_scriptFile;
    bool m_explaining = false;
};

} // namespace glimra
