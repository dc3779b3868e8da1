#include "TestEnvironment.h"

#include "matching/RegExpMatcher.h"

#include <QTimer>

using namespace glimra;
using namespace Qt::StringLiterals;

namespace {

Context run(const QString &key, const QString &value, const QString &regexp, const QString &text,
            bool *matched = nullptr)
{
    RegExpMatcher matcher(key, value, regexp);
    Context context{{CTX_TEXT, text}};
    const bool result = matcher.matches(context);
    if (matched)
        *matched = result;
    return context;
}

} // namespace

TEST(RegExpMatcherTest, AWordMatchesWhenNoLineDoes)
{
    bool matched = false;
    const Context context = run(u"ACT_TICKET"_s, u""_s, u"^[A-Z]{3}-\\d+$"_s,
                                u"please look at ABC-123, today"_s, &matched);
    EXPECT_TRUE(matched);
    EXPECT_EQ(context.value(u"ACT_TICKET"_s), u"ABC-123"_s);
}

TEST(RegExpMatcherTest, TheLastMatchingLineWinsAndWordsAreNotTriedAfterALine)
{
    const Context lines = run(u"ACT_X"_s, u"line $1"_s, u"^(\\w+) end$"_s,
                              u"first end\r\nnothing\nsecond end"_s);
    EXPECT_EQ(lines.value(u"ACT_X"_s), u"line second"_s);

    // "end" alone would match as a word, but a line matched first.
    const Context both = run(u"ACT_X"_s, u"[$0]"_s, u"end"_s, u"the end"_s);
    EXPECT_EQ(both.value(u"ACT_X"_s), u"[end]"_s);
}

TEST(RegExpMatcherTest, PlaceholdersAreReplacedInIndexOrder)
{
    RegExpMatcher matcher(u"ACT_X"_s, u"$1|$10|$2"_s, u""_s);
    const QStringList pieces = {u"whole"_s, u"one"_s, u"$2"_s, u"c"_s, u"d"_s, u"e"_s,
                                u"f"_s, u"g"_s, u"h"_s, u"i"_s, u"ten"_s};
    // "$10" is consumed by the replacement of "$1"; the piece "$2" is replaced in turn.
    EXPECT_EQ(matcher.expandAll(pieces), u"one|one0|$2"_s);
    EXPECT_EQ(RegExpMatcher(u"K"_s, u"<$2>"_s, u""_s).expandAll({u"w"_s, u"$2"_s, u"two"_s}),
              u"<two>"_s);
    EXPECT_EQ(RegExpMatcher(u"K"_s, u"$1 and $4"_s, u""_s).expandAll({u"w"_s, u"a"_s}),
              u"a and $4"_s); // no piece: the placeholder stays
}

TEST(RegExpMatcherTest, PiecesThatFillEachOtherCannotGrowTheValueWithoutBound)
{
    // Each piece holds the next placeholder twice: every replacement would double the value.
    QStringList pieces;
    for (int i = 1; i <= 40; ++i)
        pieces.append(u"$%1$%1"_s.arg(i));
    const QString value = RegExpMatcher(u"K"_s, u"$0"_s, u""_s).expandAll(pieces);
    EXPECT_LE(value.size(), RegExpMatcher::MaximumExpandedLength);
    EXPECT_TRUE(value.contains(u'$')); // the placeholders not filled stay

    const QString longPiece(2 * RegExpMatcher::MaximumExpandedLength, u'x');
    EXPECT_EQ(RegExpMatcher(u"K"_s, u"<$1>"_s, u""_s).expandAll({u"w"_s, longPiece}),
              u'<' + longPiece + u'>'); // one long piece is still put in whole
}

TEST(RegExpMatcherTest, AnExpressionThatDoesNotCompileIsNoMatch)
{
    bool matched = true;
    const Context context = run(u"ACT_X"_s, u""_s, u"([unclosed"_s, u"([unclosed"_s, &matched);
    EXPECT_FALSE(matched);
    EXPECT_FALSE(context.contains(u"ACT_X"_s));
    run(u"ACT_X"_s, u""_s, u"x"_s, QString(), &matched);
    EXPECT_FALSE(matched); // no text, no match
}

TEST(RegExpMatcherTest, ARunawayRuleIsStoppedOffTheMainThreadAndSaysWhy)
{
    // A rule that would take hours on one long line of a selection.
    RegExpMatcher matcher(u"ACT_TWICE"_s, u""_s, u"(\\w+)\\1x"_s);
    matcher.setEntry(2);
    Context context{{CTX_TEXT, QString(400'000, u'a') + u"\nshort line"_s}};
    // Meanwhile the main thread goes on serving its events.
    int served = 0;
    QTimer ticks;
    QObject::connect(&ticks, &QTimer::timeout, [&served] { ++served; });
    ticks.start(50);
    EXPECT_FALSE(matcher.matches(context));
    EXPECT_GE(served, 5);
    EXPECT_FALSE(context.contains(u"ACT_TWICE"_s));
    EXPECT_EQ(matcher.limitReached(), u"1 s of processor time"_s);
    EXPECT_EQ(matcher.whyNot(context), u"regexp entry 2 was stopped: it reached 1 s of processor time"_s);

    // The next guess starts afresh.
    Context next{{CTX_TEXT, u"abab abx"_s}};
    EXPECT_FALSE(matcher.matches(next));
    EXPECT_TRUE(matcher.limitReached().isNull());
    Context doubled{{CTX_TEXT, u"abab ababx"_s}};
    EXPECT_TRUE(matcher.matches(doubled));
    EXPECT_EQ(doubled.value(u"ACT_TWICE"_s), u"abab ababx"_s); // the line that matched
}
