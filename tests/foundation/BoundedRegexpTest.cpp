#include "foundation/BoundedRegexp.h"

#include <QElapsedTimer>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <iostream>

using namespace glimra;
using namespace Qt::StringLiterals;

namespace {

using Result = BoundedRegexp::Match::Result;

// What QRegularExpression makes of a pattern: the whole match and every group, or nullopt.
std::optional<QStringList> asQtMatches(const QString &pattern, const QString &text)
{
    const QRegularExpressionMatch match = QRegularExpression(pattern).match(text);
    if (!match.hasMatch())
        return std::nullopt;
    QStringList pieces;
    for (int i = 0; i <= match.regularExpression().captureCount(); ++i)
        pieces.append(i <= match.lastCapturedIndex() ? match.captured(i) : u""_s);
    for (QString &piece : pieces)
        piece = piece.isNull() ? u""_s : piece;
    return pieces;
}

QString repeated(QChar c, qsizetype count)
{
    return QString(count, c);
}

} // namespace

TEST(BoundedRegexp, PatternsMeanWhatQRegularExpressionMakesOfThem)
{
    const struct
    {
        QString pattern;
        QString text;
    } rows[] = {
        {u"\\d+"_s, u"ticket 42 and 7"_s},
        {u"([A-Z]+)-(\\d+)(x)?"_s, u"id ABC-42 here"_s},
        {u"(?i)glimra"_s, u"GLIMRA"_s},
        {u"\\w+"_s, u"héllo wörld"_s}, // \w is ASCII unless asked otherwise, in both
        {u"^b$"_s, u"a\nb\nc"_s},       // ^ and $ at the ends of the whole text only
        {u"a.c"_s, u"a\nc"_s},          // . does not match a line break
        {u""_s, u"anything"_s},
        {u"(?<year>\\d{4})-(?<month>\\d\\d)"_s, u"on 2024-05-01"_s},
        {u"日本"_s, u"ein 日本 text"_s},
        {u"\\x{1F600}"_s, u"smile \U0001F600"_s},
        {u"x"_s, u"nothing here"_s},
        {u"a"_s, QString()},
    };
    for (const auto &row : rows) {
        const BoundedRegexp expression(row.pattern);
        ASSERT_TRUE(expression.isValid()) << row.pattern.toStdString();
        BoundedRegexp::Budget budget;
        const BoundedRegexp::Match match = expression.match(row.text, budget);
        const std::optional<QStringList> expected = asQtMatches(row.pattern, row.text);
        EXPECT_EQ(match.matched(), expected.has_value()) << row.pattern.toStdString();
        if (expected)
            EXPECT_EQ(match.pieces, *expected) << row.pattern.toStdString();
    }
}

TEST(BoundedRegexp, APatternThatDoesNotCompileSaysWhyAsQRegularExpressionDoes)
{
    for (const QString &pattern : {u"("_s, u"[a-"_s, u"(?<"_s, u"a{2,1}"_s, u"\\"_s}) {
        const BoundedRegexp expression(pattern);
        const QRegularExpression qt(pattern);
        EXPECT_FALSE(expression.isValid()) << pattern.toStdString();
        EXPECT_EQ(expression.errorString(), qt.errorString()) << pattern.toStdString();
        EXPECT_EQ(expression.patternErrorOffset(), qt.patternErrorOffset()) << pattern.toStdString();
        BoundedRegexp::Budget budget;
        EXPECT_EQ(expression.match(u"(((["_s, budget).result, Result::NoMatch);
    }
}

TEST(BoundedRegexp, ARunawayPatternStopsAtALimitAndSaysWhich)
{
    const struct
    {
        const char *name;
        QString pattern;
        QString text;
        QString limit;
    } rows[] = {
        // Back references over a long line: PCRE2 counts no steps inside them.
        {"back references", u"(\\w+)\\1x"_s, repeated(u'a', 400'000), u"1 s of processor time"_s},
        // A match exists, but nested repeats reach the step limit before it is found.
        {"nested repeats", u"^(a+)+b|a{40}c"_s, repeated(u'a', 40) + u'c', u"the match limit (10000000 steps)"_s},
        {"deep alternatives", u"(?:(a)|b)*$"_s, repeated(u'a', 1'000'000), u"the stack limit (1 MiB)"_s},
    };
    for (const auto &row : rows) {
        const BoundedRegexp expression(row.pattern);
        BoundedRegexp::Budget budget;
        QElapsedTimer clock;
        clock.start();
        const BoundedRegexp::Match match = expression.match(row.text, budget);
        EXPECT_EQ(match.result, Result::LimitReached) << row.name;
        EXPECT_EQ(match.limit, row.limit) << row.name;
        EXPECT_TRUE(match.pieces.isEmpty()) << row.name;
        std::cout << "  " << row.name << ": stopped after " << clock.elapsed() << " ms\n";
    }
}

TEST(BoundedRegexp, ASpentBudgetStopsEveryLaterMatchAtOnce)
{
    const BoundedRegexp runaway(u"(\\w+)\\1x"_s);
    const BoundedRegexp simple(u"b"_s);
    BoundedRegexp::Budget budget;
    EXPECT_EQ(runaway.match(repeated(u'a', 400'000), budget).result, Result::LimitReached);
    const BoundedRegexp::Match after = simple.match(u"abc"_s, budget);
    EXPECT_EQ(after.result, Result::LimitReached);
    EXPECT_EQ(after.limit, u"1 s of processor time"_s);
    // The step limit, by contrast, belongs to one match: the budget is not spent by it.
    BoundedRegexp::Budget fresh;
    EXPECT_EQ(BoundedRegexp(u"^(a+)+b|a{40}c"_s).match(repeated(u'a', 40) + u'c', fresh).result,
              Result::LimitReached);
    EXPECT_TRUE(simple.match(u"abc"_s, fresh).matched());
}
