#pragma once

#include "foundation/ProgramRunner.h"
#include "foundation/ShellCommand.h"
#include "matching/MatcherObject.h"

#include <chrono>

namespace glimra {

/// Recognises a selection that is a shell command between backticks and writes the command
/// to ACT_COMMAND: a guess only looks, and the "run" action runs it when the user asks.
/// A guess whose caller trusts its text (MatchRun::runCommands) runs it at once instead,
/// in CTX_DIR, and offers its output as ACT_TEXT; the command gets ten seconds, and on
/// overrun it is killed with its process group and the matcher declines.
class SHBangMatch : public MatcherObject
{
public:
    static constexpr std::chrono::milliseconds TimeBound = ShellCommand::TimeBound;

    /// Backticked commands run through `runner`.
    explicit SHBangMatch(ProgramRunner &runner = ProgramRunner::standard());
    void beginRun(const MatchRun &run) override;
    bool matches(Context &workingContext) override;
    QString whyNot(const Context &workingContext) const override;
    bool executePipe(const QString &command, Context &context) const;

private:
    bool m_runCommands = false;
    ProgramRunner &m_runner;
};

} // namespace glimra
