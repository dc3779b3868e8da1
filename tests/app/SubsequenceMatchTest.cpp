#include "app/SubsequenceMatch.h"

#include <gtest/gtest.h>

using namespace glimra;
using namespace Qt::StringLiterals;

TEST(SubsequenceMatchTest, TypedLettersMatchInOrderIgnoringCase)
{
    const struct
    {
        QString typed;
        QString text;
        bool matches;
    } rows[] = {
        {u""_s, u"anything"_s, true},
        {u"opn"_s, u"Open main.c"_s, true},
        {u"OPEN"_s, u"open main.c"_s, true},
        {u"mc"_s, u"Open main.c"_s, true},
        {u"nepo"_s, u"Open main.c"_s, false},
        {u"openx"_s, u"Open main.c"_s, false},
        {u"ö"_s, u"Öl"_s, true},
        {u"x"_s, u""_s, false},
        {u"42"_s, u"Open main.c at line 42"_s, true},
    };
    for (const auto &row : rows)
        EXPECT_EQ(SubsequenceMatch::score(row.typed, row.text).has_value(), row.matches)
            << row.typed.toStdString() << " in " << row.text.toStdString();
}

TEST(SubsequenceMatchTest, RowsAreRankedBestFirstAndTiesKeepTheirOrder)
{
    const QList<QStringList> rows = {
        {u"Open main.c"_s},
        {u"Show in file manager"_s},
        {u"Search the web for “serendipity”"_s},
        {u"Find files named “main.c”"_s},
        {u"main.c"_s, u"/home/me/proj/src/main.c"_s},
    };
    const struct
    {
        QString typed;
        QList<int> order;
    } cases[] = {
        {u""_s, {0, 1, 2, 3, 4}},
        {u"sho"_s, {1, 2}},            // together at a word's start beats scattered
        {u"sea"_s, {2, 1, 3}},         // the scattered ones: the earlier start first
        {u"fil"_s, {1, 3}},            // both whole at a word's start: as offered
        {u"main"_s, {0, 4, 3}},        // whole words first, one further along last
        {u"proj"_s, {4}},              // a path counts as well as a title
        {u"zzz"_s, {}},
    };
    for (const auto &row : cases)
        EXPECT_EQ(SubsequenceMatch::ranked(row.typed, rows), row.order) << row.typed.toStdString();
}
