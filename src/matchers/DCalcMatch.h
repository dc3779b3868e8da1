#pragma once

#include "foundation/ProgramRunner.h"
#include "matching/MatcherObject.h"

#include <chrono>

namespace glimra {

/// Evaluates a selection that is an arithmetic expression with "bc -lq" (three decimal
/// places) and offers the result as ACT_TEXT. bc runs without a shell, which would double
/// the time it takes to start. The calculator gets two seconds; on overrun it is killed and
/// the matcher declines.
class DCalcMatch : public MatcherObject
{
public:
    static constexpr std::chrono::milliseconds TimeBound{2000};

    /// `calculator`: the bc program to run; by default the one on PATH, looked up (as a shell
    /// would) at the first expression. bc is found and run through `runner`.
    explicit DCalcMatch(const QString &calculator = {}, ProgramRunner &runner = ProgramRunner::standard());
    bool matches(Context &workingContext) override;
    QString whyNot(const Context &workingContext) const override;

private:
    QString calculator();

    QString m_calculator;
    ProgramRunner &m_runner;
    QString m_failure; // why bc did not end normally in the last match
};

} // namespace glimra
