#pragma once

#include "foundation/HandlerScript.h"
#include "matching/ActionObject.h"

#include <memory>

namespace glimra {

/// Hosts one handler-script action plug-in ("*Action*.handler", or ".scpt"). The prototype's
/// "matched_actions" handler answers a list of titles; each becomes an offered action that
/// shares the loaded script and runs "execute_action" with its title and the execution
/// context.
class HandlerScriptAction : public ActionObject
{
public:
    /// The prototype: loads the script once; its calls (and its offers') run through `runner`.
    explicit HandlerScriptAction(const QString &scriptFile, ProgramRunner &runner = ProgramRunner::standard());
    /// An offered action sharing `script`.
    explicit HandlerScriptAction(std::shared_ptr<HandlerScript> script);

    void setName(const QString &name) { m_name = name; }
    QString name() const override;

    ActionList actionsForContext(const Context &matchedContext) override;
    void execute(const Context &executionContext, const Completion &done) override;

    ScriptRun lastScriptRun() const override { return m_lastRun; }

private:
    std::shared_ptr<HandlerScript> m_script;
    QString m_name;
    ScriptRun m_lastRun;
};

} // namespace glimra
