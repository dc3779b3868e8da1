#pragma once

#include "matching/MatcherObject.h"

#include <chrono>

namespace glimra {

/// Evaluates a selection that is an arithmetic expression with "bc -lq" (three decimal
/// places) and offers the result as ACT_TEXT. The calculator gets two seconds; on overrun
/// it is killed and the matcher declines.
class DCalcMatch : public MatcherObject
{
public:
    static constexpr std::chrono::milliseconds TimeBound{2000};

    DCalcMatch();
    bool matches(Context &workingContext) override;
    QString whyNot(const Context &workingContext) const override;
};

} // namespace glimra
