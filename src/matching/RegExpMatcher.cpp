#include "matching/RegExpMatcher.h"

#include "foundation/Strings.h"

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
    QString result = m_matchedValue;
    for (qsizetype i = 0; i < pieces.size(); ++i)
        result.replace(u"$%1"_s.arg(i), pieces.at(i));
    return result;
}

} // namespace glimra
