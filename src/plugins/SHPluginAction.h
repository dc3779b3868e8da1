#pragma once

#include "foundation/ProgramRunner.h"
#include "matching/ActionObject.h"

namespace glimra {

/// Hosts one shell action plug-in ("*Action*.sh"). With the verb "actions" the script
/// prints one title per line; each becomes an offered action that runs the script with
/// "execute" and its title.
class SHPluginAction : public ActionObject
{
public:
    /// The script runs through `runner`, which must outlive the plug-in.
    explicit SHPluginAction(const QString &scriptFile, ProgramRunner &runner = ProgramRunner::standard());

    void setName(const QString &name) { m_name = name; }
    QString name() const override;

    ActionList actionsForContext(const Context &matchedContext) override;
    void execute(const Context &executionContext, const Completion &done) override;

    ScriptRun lastScriptRun() const override { return m_lastRun; }

private:
    ProgramRunner &m_runner;
    QString m_name;
    ScriptRun m_lastRun;
};

} // namespace glimra
