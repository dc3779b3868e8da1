#include "app/PanelHeader.h"

#include <gtest/gtest.h>

using namespace glimra;
using namespace Qt::StringLiterals;

TEST(PanelHeaderTest, SaysTheKindAndTheValueOfEachGuessInWordsOnOneLine)
{
    const struct
    {
        const char *what;
        Context matched;
        QString header;
        bool middle;
    } rows[] = {
        {"a path with a line",
         {{ACT_FOUND, u"FileMatch"_s}, {ACT_PATH, u"/home/me/proj/src/main.c"_s}, {ACT_PATH_LINE, u"42"_s}},
         u"File · /home/me/proj/src/main.c, line 42"_s, true},
        {"three files",
         {{ACT_PATHS, u"/etc/hosts\n/etc/shells\n/etc/passwd"_s}},
         u"3 files · /etc/hosts, /etc/shells, /etc/passwd"_s, false},
        {"an address", {{ACT_URLS, u"https://example.org/a?b=c"_s}, {ACT_URL, u"https://example.org/a?b=c"_s}},
         u"Web address · https://example.org/a?b=c"_s, false},
        {"a calculation",
         {{ACT_FOUND, u"DCalcMatch"_s}, {CTX_TEXT, u" 2*(3+4)\n"_s}, {ACT_TEXT, u"14"_s}},
         u"Calculation · 2*(3+4) = 14"_s, false},
        {"a command", {{ACT_COMMAND, u"date"_s}}, u"Command · `date`"_s, false},
        {"a command with a folder in it", {{ACT_COMMAND, u"ls src"_s}, {ACT_PATH, u"/p/src"_s}},
         u"Command · `ls src`"_s, false},
        {"a word", {{ACT_WORDS, u"serendipity"_s}}, u"Text · serendipity"_s, false},
        {"a text over lines", {{ACT_WORDS, u"one\ntwo\r\n\tthree"_s}}, u"Text · one two three"_s, false},
        {"markup, as written", {{ACT_WORDS, u"<b>x</b>"_s}}, u"Text · <b>x</b>"_s, false},
    };
    for (const auto &row : rows) {
        EXPECT_EQ(PanelHeader::kind(row.matched) + PanelHeader::separator() + PanelHeader::value(row.matched),
                  row.header) << row.what;
        EXPECT_EQ(PanelHeader::elideInTheMiddle(row.matched), row.middle) << row.what;
    }
    EXPECT_EQ(PanelHeader::kind({}), u"Nothing recognised"_s);
    EXPECT_TRUE(PanelHeader::value({}).isEmpty());
    EXPECT_EQ(PanelHeader::value({}, {{CTX_TEXT, u"one\ntwo"_s}}), u"one two"_s);
}

TEST(PanelHeaderTest, AHugeSelectionIsCutBeforeItIsMeasured)
{
    const QString huge(8 * 1024 * 1024, u'x');
    const QString value = PanelHeader::value({{ACT_WORDS, huge}});
    EXPECT_EQ(value.size(), PanelHeader::MaxValueLength);
}
