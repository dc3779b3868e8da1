#include "matching/contentType.h"

#include <gtest/gtest.h>

using namespace glimra;
using namespace Qt::StringLiterals;

TEST(ContentType, DescribesTheMostTellingKey)
{
    const QString e = QString(QChar(0x2026));
    const QString thirty = u"/home/user/projects/glimra/x.c"_s; // 30 characters
    const struct
    {
        Context context;
        QString expected;
    } rows[] = {
        {{}, u"no match"_s},
        {{{u"ACT_FOUND"_s, u"WordMatch"_s}}, u"a text"_s},
        {{{u"ACT_URLS"_s, u" https://example.com/a "_s}, {u"ACT_PATHS"_s, u"/x"_s}},
         u"URL (https://example.com/a"_s + e + u")"_s},
        {{{u"ACT_PATHS"_s, u"/a\n/b"_s}}, u"list of files ("_s + e + u"/a\n/b)"_s},
        {{{u"ACT_PATH"_s, thirty}}, u"a file ("_s + e + thirty.right(25) + u")"_s},
        {{{u"ACT_WORDS"_s, u"exactly twenty-five chars"_s}},
         u"a text (exactly twenty-five chars"_s + e + u")"_s},
        {{{u"ACT_WORDS"_s, u"twenty-six characters here"_s}},
         u"a text (twenty-six characters her"_s + e + u")"_s},
        // Lengths count UTF-16 units: "é" is one, an emoji two, and a cut never splits one.
        {{{u"ACT_WORDS"_s, u"ééééééééééééééééééééééééé and more"_s}},
         u"a text (ééééééééééééééééééééééééé"_s + e + u")"_s},
        {{{u"ACT_WORDS"_s, u"😀😀😀😀😀😀😀😀😀😀😀😀😀xyz"_s}},
         u"a text (😀😀😀😀😀😀😀😀😀😀😀😀"_s + e + u")"_s},
        {{{u"ACT_PATH"_s, u"/x/😀😀😀😀😀😀😀😀😀😀😀😀😀"_s}},
         u"a file ("_s + e + u"😀😀😀😀😀😀😀😀😀😀😀😀)"_s},
    };
    for (const auto &row : rows)
        EXPECT_EQ(contentType(row.context), row.expected) << row.expected.toStdString();
}
