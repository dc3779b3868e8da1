#pragma once

#include "matching/MatcherObject.h"

#include <chrono>

namespace glimra {

/// Runs a selection that is a shell command between backticks, in CTX_DIR, and offers its
/// output as ACT_TEXT. The command gets ten seconds; on overrun it is killed with its
/// process group and the matcher declines.
class SHBangMatch : public MatcherObject
{
public:
    static constexpr std::chrono::milliseconds TimeBound{10000};

    SHBangMatch();
    bool matches(Context &workingContext) override;
    QString whyNot(const Context &workingContext) const override;
    bool executePipe(const QString &command, Context &context) const;
};

} // namespace glimra
