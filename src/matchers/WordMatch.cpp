#include "matchers/WordMatch.h"

#include "foundation/Strings.h"

using namespace Qt::StringLiterals;

namespace glimra {

WordMatch::WordMatch() : MatcherObject(u"WordMatch"_s) {}

bool WordMatch::matches(Context &workingContext)
{
    if (!workingContext.contains(CTX_TEXT))
        return false;
    const QString text = workingContext.value(CTX_TEXT);
    // Only a line feed breaks a line here; carriage returns alone leave one line. Tested on
    // a view, so a text of many lines is never copied.
    if (QStringView(text).trimmed().contains(u'\n'))
        return false;
    workingContext.insert(ACT_WORDS, trim(text));
    return true;
}

QString WordMatch::whyNot(const Context &workingContext) const
{
    return workingContext.contains(CTX_TEXT) ? u"the text has more than one line"_s : NoText.toString();
}

} // namespace glimra
