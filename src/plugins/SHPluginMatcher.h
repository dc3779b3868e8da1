#pragma once

#include "foundation/ProgramRunner.h"
#include "matching/MatcherObject.h"

namespace glimra {

/// Hosts one shell matcher plug-in ("*Matcher*.sh"), run by /bin/ksh with the verb
/// "context": every printed line KEY=value whose key begins with ACT_ and whose value is
/// not empty becomes a context entry.
class SHPluginMatcher : public MatcherObject
{
public:
    /// The script runs through `runner`, which must outlive the plug-in.
    explicit SHPluginMatcher(const QString &scriptFile, ProgramRunner &runner = ProgramRunner::standard());

    QString name() const override;
    QString kind() const override;
    bool matches(Context &workingContext) override;

    /// The entries that a run's output `lines` set: each line KEY=value whose key begins
    /// with ACT_ and whose value is not empty; a key printed twice keeps its last value.
    /// Neither side of the "=" is trimmed. Pure; any thread.
    static Context resultEntries(const QStringList &lines);

    ScriptRun lastScriptRun() const override { return m_lastRun; }

private:
    ProgramRunner &m_runner;
    ScriptRun m_lastRun;
};

} // namespace glimra
