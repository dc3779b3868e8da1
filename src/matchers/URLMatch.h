#pragma once

#include "matching/MatcherObject.h"

namespace glimra {

/// Recognises a selection that is a URL, or URLs among words, including bare www and ftp
/// host names with a well-known ending. File URLs are never accepted. Writes ACT_URL (the
/// first) and ACT_URLS (all, in text order, duplicates kept).
class URLMatch : public MatcherObject
{
public:
    URLMatch();
    bool matches(Context &workingContext) override;
    QString whyNot(const Context &workingContext) const override;
};

} // namespace glimra
