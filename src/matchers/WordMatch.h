#pragma once

#include "matching/MatcherObject.h"

namespace glimra {

/// Marks a one-line selection as words to look up: ACT_WORDS is the trimmed text.
class WordMatch : public MatcherObject
{
public:
    WordMatch();
    bool matches(Context &workingContext) override;
    QString whyNot(const Context &workingContext) const override;
};

} // namespace glimra
