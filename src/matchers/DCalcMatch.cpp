#include "matchers/DCalcMatch.h"

#include "foundation/Shell.h"
#include "foundation/Strings.h"

using namespace Qt::StringLiterals;

namespace glimra {

DCalcMatch::DCalcMatch() : MatcherObject(u"DCalcMatch"_s) {}

bool DCalcMatch::matches(Context &workingContext)
{
    if (!workingContext.contains(CTX_TEXT))
        return false;
    const QString value = workingContext.value(CTX_TEXT);
    QStringView text = QStringView(value).trimmed();
    if (text.size() >= 2 && text.startsWith(u'(') && text.endsWith(u')'))
        text = text.sliced(1, text.size() - 2);
    // Letters and commas: function names, variables, thousands separators. Never evaluated.
    if (glimra::matches(text, u"[a-z,A-Z]+"_s))
        return false;
    QString output = pipe_shell(u"scale=3\n%1\nquit\n"_s.arg(text), u"bc -lq"_s, TimeBound);
    if (output.isEmpty())
        return false;
    if (output.endsWith(u".000"_s))
        output.chop(4);
    if (output.startsWith(u'.'))
        output.prepend(u'0');
    workingContext.insert(ACT_TEXT, output);
    return true;
}

QString DCalcMatch::whyNot(const Context &workingContext) const
{
    if (!workingContext.contains(CTX_TEXT))
        return NoText.toString();
    if (glimra::matches(workingContext.value(CTX_TEXT), u"[a-z,A-Z]+"_s))
        return u"the text holds letters or commas, which are never calculated"_s;
    return u"bc found no value in the text"_s;
}

} // namespace glimra
