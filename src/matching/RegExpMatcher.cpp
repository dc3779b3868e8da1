#include "matching/RegExpMatcher.h"

#include "foundation/BoundedRegexp.h"
#include "foundation/Log.h"
#include "foundation/OffThread.h"
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
    // The user's expression may take long on a long text: it runs off the main thread,
    // within its bounds, and the main thread serves the desktop and the bus meanwhile.
    Result result;
    OffThread::run([&] { result = matchText(text); });
    m_limitReached = result.limitReached;
    if (!m_limitReached.isNull()) {
        qCWarning(lcMatching).noquote() << u"regexp entry %1: %2"_s.arg(m_entry).arg(
            BoundedRegexp::limitMessage(m_limitReached));
        return false;
    }
    if (!result.value)
        return false;
    workingContext.insert(m_matchedKey, *result.value);
    return true;
}

QString RegExpMatcher::whyNot(const Context &) const
{
    const QString problem = UserDefaults::regexpProblem(m_regexp);
    if (!problem.isNull())
        return u"regexp entry %1 is not a valid expression: %2"_s.arg(m_entry).arg(problem);
    if (!m_limitReached.isNull())
        return u"regexp entry %1 was stopped: it reached %2"_s.arg(m_entry).arg(m_limitReached);
    return u"regexp entry %1 did not match any line or word"_s.arg(m_entry);
}

// The lines of the text, else its words: the value of the last one that matches. Any
// thread.
RegExpMatcher::Result RegExpMatcher::matchText(const QString &text) const
{
    const BoundedRegexp expression(m_regexp);
    Result result;
    if (!expression.isValid())
        return result;
    BoundedRegexp::Budget budget;
    for (const QStringView separators : {u"\n\r", u"()<>,;\"'\t "}) {
        forEachPiece(text, separators, [&](QStringView piece) {
            const BoundedRegexp::Match match = expression.match(piece, budget);
            if (match.result == BoundedRegexp::Match::Result::LimitReached) {
                result.limitReached = match.limit;
                return false;
            }
            if (match.matched())
                result.value = m_matchedValue.isEmpty() ? piece.toString() : expandAll(match.pieces);
            return true;
        });
        if (result.value || !result.limitReached.isNull())
            break;
    }
    if (!result.limitReached.isNull())
        result.value.reset();
    return result;
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
