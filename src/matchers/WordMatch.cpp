#include "matchers/WordMatch.h"

#include "foundation/Strings.h"

using namespace Qt::StringLiterals;

namespace glimra {

WordMatch::WordMatch() : MatcherObject(u"WordMatch"_s) {}

bool WordMatch::matches(Context &workingContext)
{
    if (!workingContext.contains(CTX_TEXT))
        return false;
    const QString text = trim(workingContext.value(CTX_TEXT));
    // Only a line feed breaks a line here; carriage returns alone leave one line.
    if (text.contains(u'\n'))
        return false;
    workingContext.insert(ACT_WORDS, text);
    return true;
}

} // namespace glimra
