#include "app/ActionOrder.h"
#include "app/PanelHeader.h"
#include "app/SelectionKind.h"

#include <gtest/gtest.h>

using namespace glimra;
using namespace Qt::StringLiterals;

// The header and the learned order read the same kind: where a guess found several things,
// both name the same one.
TEST(SelectionKindTest, TheHeaderAndTheLearnedOrderNameTheSameKindWhateverElseWasFound)
{
    const struct
    {
        const char *what;
        Context matched;
        SelectionKind kind;
        QString key;
        QString header;
    } rows[] = {
        {"nothing", {}, SelectionKind::Nothing, QString(), u"Nothing recognised"_s},
        {"an address beside files", {{ACT_URLS, u"https://a.org"_s}, {ACT_PATHS, u"/a\n/b"_s}},
         SelectionKind::WebAddresses, u"url"_s, u"Web address"_s},
        {"an address beside a trace", {{ACT_URLS, u"https://a.org\nhttps://b.org"_s}, {ACT_PATH_LINE, u"4"_s}},
         SelectionKind::WebAddresses, u"url"_s, u"2 web addresses"_s},
        {"a command naming a file with a line",
         {{ACT_COMMAND, u"cat a.c"_s}, {ACT_PATH, u"/p/a.c"_s}, {ACT_PATH_LINE, u"4"_s}},
         SelectionKind::Command, u"command"_s, u"Command"_s},
        {"a path with a line", {{ACT_PATH, u"/a.c"_s}, {ACT_PATH_LINE, u"4"_s}}, SelectionKind::Trace,
         u"trace"_s, u"File"_s},
        {"a trace of two frames", {{ACT_PATHS, u"/a.c\n/b.c"_s}, {ACT_PATH_LINES, u"4\n5"_s}},
         SelectionKind::Trace, u"trace"_s, u"2 files"_s},
        {"three files", {{ACT_PATHS, u"/a\n/b\n/c\n"_s}}, SelectionKind::Files, u"files"_s, u"3 files"_s},
        {"one file with a trailing line break", {{ACT_PATHS, u"/a\n"_s}}, SelectionKind::File, u"file"_s,
         u"File"_s},
        {"a calculation that also names a file",
         {{ACT_FOUND, u"DCalcMatch"_s}, {ACT_TEXT, u"14"_s}, {ACT_PATH, u"/14"_s}}, SelectionKind::File,
         u"file"_s, u"File"_s},
        {"a calculation", {{ACT_FOUND, u"DCalcMatch"_s}, {ACT_TEXT, u"14"_s}}, SelectionKind::Calculation,
         u"calculation"_s, u"Calculation"_s},
        {"a calculation without a result", {{ACT_FOUND, u"DCalcMatch"_s}, {ACT_WORDS, u"2*"_s}},
         SelectionKind::Text, u"text"_s, u"Text"_s},
        {"a word", {{ACT_WORDS, u"serendipity"_s}}, SelectionKind::Text, u"text"_s, u"Text"_s},
    };
    for (const auto &row : rows) {
        EXPECT_EQ(selectionKindOf(row.matched), row.kind) << row.what;
        EXPECT_EQ(selectionKindKey(row.kind), row.key) << row.what;
        EXPECT_EQ(ActionOrder::kindOf(row.matched), row.key) << row.what;
        EXPECT_EQ(PanelHeader::kind(row.matched), row.header) << row.what;
    }
}
