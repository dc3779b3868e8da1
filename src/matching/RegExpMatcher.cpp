#include "matching/RegExpMatcher.h"

#include "foundation/Strings.h"
#include "platform/UserDefaults.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace glimra {

RegExpMatcher::RegExpMatcher(QString matchedKey, QString matchedValue, QString regexp)
    : MatcherObject(u"RegExpMatcher"_s),
      m_matchedKey(std::move(matchedKey)),
      m_matchedValue(std::move(matchedValue)),
      m_regexp(std::move(regexp))
{
}

QString RegExpMatcher::kind() const
{
    return u"regexp"_s;
}

bool RegExpMatcher::matches(Context &workingContext)
{
    const QString text = trim(workingContext.value(CTX_TEXT));
    if (matchFirst(split(text, u"\n\r"_s), workingContext))
        return true;
    return matchFirst(split(text, u"()<>,;\"'\t "_s), workingContext);
}

QString RegExpMatcher::whyNot(const Context &) const
{
    const QString problem = UserDefaults::regexpProblem(m_regexp);
    if (!problem.isNull())
        return u"regexp entry %1 is not a valid expression: %2"_s.arg(m_entry).arg(problem);
    return u"regexp entry %1 did not match any line or word"_s.arg(m_entry);
}

bool RegExpMatcher::matchFirst(const QStringList &strings, Context &workingContext) const
{
    int count = 0;
    for (const QString &string : strings) {
        const std::optional<QStringList> pieces = matchMultiple(string, m_regexp);
        if (!pieces)
            continue;
        workingContext.insert(m_matchedKey, m_matchedValue.isEmpty() ? string : expandAll(*pieces));
        ++count;
    }
    return count > 0;
}

QString RegExpMatcher::expandAll(const QStringList &pieces) const
{
    // A piece may hold placeholders that later replacements fill in turn, so each step can
    // multiply the length: forty short lines would otherwise grow to terabytes.
    qsizetype limit = std::max(MaximumExpandedLength, m_matchedValue.size());
    for (const QString &piece : pieces)
        limit = std::max(limit, m_matchedValue.size() + piece.size());
    QString result = m_matchedValue;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        const QString placeholder = u"$%1"_s.arg(i);
        const qsizetype growth = pieces.at(i).size() - placeholder.size();
        if (growth > 0 && result.size() + result.count(placeholder) * growth > limit)
            break;
        result.replace(placeholder, pieces.at(i));
    }
    return result;
}

} // namespace glimra
