#pragma once

#include "matching/MatcherObject.h"

#include <memory>

namespace glimra {

class PerlEngine;

/// Hosts one Perl matcher plug-in ("*Matcher*.pl"). At every matches() the script is
/// compiled anew in the engine all Perl plug-ins share, %CONTEXT receives the working context, and when
/// its matches_context returns 1 or more, the ACT_ entries of %CONTEXT go back into the
/// working context. Keys and values move through transfer variables only: no text of the
/// context is ever written into Perl source.
class PerlPluginMatcher : public MatcherObject
{
public:
    PerlPluginMatcher(const QString &scriptFile, std::shared_ptr<PerlEngine> perlEngine);

    QString name() const override;
    QString kind() const override;
    bool matches(Context &workingContext) override;
    ScriptRun lastScriptRun() const override { return m_lastRun; }

private:
    /// One parse and call; `returned` is what matches_context returned.
    bool matchInEngine(Context &context, qint64 &returned);

    std::shared_ptr<PerlEngine> m_perlEngine;
    ScriptRun m_lastRun;
};

} // namespace glimra
