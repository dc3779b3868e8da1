#include "foundation/Strings.h"

#include <gtest/gtest.h>

using namespace glimra;
using namespace Qt::StringLiterals;

TEST(Strings, TrimKeepsAbsentApartFromEmpty)
{
    EXPECT_TRUE(trim(QString()).isNull());
    const QString blank = trim(u" \t\r\n "_s);
    EXPECT_FALSE(blank.isNull());
    EXPECT_TRUE(blank.isEmpty());
    EXPECT_EQ(trim(u"\n  a b \r\n"_s), u"a b"_s);
}

TEST(Strings, SplitSeparatesAtEveryCharacterAndDropsEmptyPieces)
{
    EXPECT_EQ(split(u"a,b;;c"_s, u",;"_s), (QStringList{u"a"_s, u"b"_s, u"c"_s}));
    EXPECT_EQ(split(u"\nx\n\n"_s, u"\n"_s), QStringList{u"x"_s});
    EXPECT_TRUE(split(QString(), u","_s).isEmpty());
    EXPECT_TRUE(split(u",,,"_s, u","_s).isEmpty());
}

TEST(Strings, MatchMultipleGivesTheWholeMatchThenEveryGroup)
{
    const auto pieces = matchMultiple(u"id ABC-42 here"_s, u"([A-Z]+)-(\\d+)(x)?"_s);
    ASSERT_TRUE(pieces);
    // A group that took no part reads as the empty text, so $3 still has a piece.
    EXPECT_EQ(*pieces, (QStringList{u"ABC-42"_s, u"ABC"_s, u"42"_s, u""_s}));
    EXPECT_FALSE(matchMultiple(u"nothing"_s, u"\\d"_s));
}

TEST(Strings, AnExpressionThatDoesNotCompileNeverMatches)
{
    EXPECT_FALSE(matches(u"((("_s, u"((("_s));
    EXPECT_FALSE(matchMultiple(u"abc"_s, u"(?<"_s));
    EXPECT_TRUE(matches(u"x 12 y"_s, u"\\d+"_s)); // anywhere in the text
}

TEST(Strings, UrlEncodingKeepsOnlyUnreservedCharacters)
{
    EXPECT_EQ(stringURLEncoded(u"a b&c=d/é~_-."_s), u"a%20b%26c%3Dd%2F%C3%A9~_-."_s);
}

TEST(Strings, EachPieceIsVisitedAsAViewUntilTheVisitorStops)
{
    const struct
    {
        QString text;
        QString separators;
        QStringList pieces;
    } rows[] = {
        {u"a,b;;c"_s, u",;"_s, {u"a"_s, u"b"_s, u"c"_s}},
        {u"\nx\n\n"_s, u"\n"_s, {u"x"_s}},
        // "?" and "@" lie on either side of the 64th character, "·" beyond ASCII.
        {u"a?b@c"_s, u"?@"_s, {u"a"_s, u"b"_s, u"c"_s}},
        {u"é·ü··ß x"_s, u"·"_s, {u"é"_s, u"ü"_s, u"ß x"_s}},
        {QString(), u","_s, {}},
    };
    for (const auto &row : rows) {
        QStringList visited;
        EXPECT_TRUE(forEachPiece(row.text, row.separators, [&visited](QStringView piece) {
            visited.append(piece.toString());
            return true;
        }));
        EXPECT_EQ(visited, row.pieces) << row.text.toStdString();
    }
    QStringList visited;
    EXPECT_FALSE(forEachPiece(u"a b c"_s, u" ", [&visited](QStringView piece) {
        visited.append(piece.toString());
        return piece != u"b";
    }));
    EXPECT_EQ(visited, (QStringList{u"a"_s, u"b"_s}));
}
