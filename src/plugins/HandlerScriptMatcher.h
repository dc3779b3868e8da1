#pragma once

#include "foundation/HandlerScript.h"
#include "matching/MatcherObject.h"

#include <memory>

namespace glimra {

/// Hosts one handler-script matcher plug-in ("*Matcher*.handler", or ".scpt"): its
/// "matches_context" handler receives the working context and answers an object whose ACT_
/// fields become result keys. The script is loaded once, when the plug-ins are loaded; its
/// calls run through the runner it is given.
class HandlerScriptMatcher : public MatcherObject
{
public:
    explicit HandlerScriptMatcher(const QString &scriptFile, ProgramRunner &runner = ProgramRunner::standard());

    QString name() const override;
    QString kind() const override;
    bool matches(Context &workingContext) override;
    ScriptRun lastScriptRun() const override { return m_lastRun; }

private:
    std::shared_ptr<HandlerScript> m_script;
    ScriptRun m_lastRun;
};

} // namespace glimra
