#pragma once

#include "matching/ActionObject.h"

namespace glimra {

/// "run": runs the command between backticks that SHBangMatch recognised (ACT_COMMAND), as
/// it would have run during the guess: by /bin/sh in CTX_DIR, bounded to ten seconds, in
/// the background. What it printed is the outcome's text, which the guess controller
/// guesses next (ACT_TEXT offers "paste" and "copy"). The command is shown in full as the
/// offer's detail: the user sees what will run before choosing it.
class RunCommandAction : public ActionObject
{
public:
    RunCommandAction();

    ActionList actionsForContext(const Context &matchedContext) override;
    QString whyNotOffered(const Context &) const override;
    void execute(const Context &executionContext, const Completion &done) override;
};

} // namespace glimra
