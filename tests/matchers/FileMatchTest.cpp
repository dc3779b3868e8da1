#include "TestEnvironment.h"

#include "matchers/FileMatch.h"

using namespace glimra;
using namespace Qt::StringLiterals;

class FileMatchTest : public test::IsolatedTest
{
protected:
    void SetUp() override
    {
        IsolatedTest::SetUp();
        writeFile(u"proj/main.c"_s, "int main;\n");
        writeFile(u"proj/Makefile"_s, "all:\n");
        writeFile(u"home/notes.txt"_s, "");
        writeFile(u"proj/sub/util.c"_s, "");
        proj = path(u"proj"_s);
    }
    Context run(const QString &text, const QString &dir = {})
    {
        FileMatch matcher;
        Context context{{CTX_TEXT, text}};
        if (!dir.isNull())
            context.insert(CTX_DIR, dir);
        const bool matched = matcher.matches(context);
        EXPECT_EQ(matched, context.contains(ACT_PATH)) << text.toStdString();
        context.remove(CTX_TEXT);
        context.remove(CTX_DIR);
        return context;
    }
    QString proj;
};

TEST_F(FileMatchTest, PathsWithALineNumber)
{
    const Context compiler = run(u"src/../main.c:12:5: error: expected ';'"_s, proj + u'/');
    EXPECT_EQ(compiler, (Context{{ACT_PATH, proj + u"/main.c"_s}, {ACT_PATH_LINE, u"12"_s}}));
    EXPECT_EQ(run(proj + u"/main.c:42"_s), (Context{{ACT_PATH, proj + u"/main.c"_s},
                                                  {ACT_PATH_LINE, u"42"_s}}));
    // No digits after the colon: the word rule finds the file, without a line number.
    EXPECT_EQ(run(u"main.c:abc"_s, proj + u'/'),
              (Context{{ACT_PATH, proj + u"/main.c"_s}, {ACT_PATHS, proj + u"/main.c"_s}}));
    EXPECT_TRUE(run(u":12"_s, proj + u'/').isEmpty());
}

TEST_F(FileMatchTest, SinglePathsRelativeOrWithTilde)
{
    EXPECT_EQ(run(u"Makefile"_s, proj + u'/').value(ACT_PATHS), proj + u"/Makefile"_s);
    EXPECT_TRUE(run(u"Makefile"_s).isEmpty()); // relative, and no folder to resolve it in
    EXPECT_EQ(run(u"~/notes.txt"_s).value(ACT_PATH), path(u"home/notes.txt"_s));
    EXPECT_EQ(run(proj + u"/"_s).value(ACT_PATH), proj); // a folder, written without "/"
    EXPECT_TRUE(run(u"/"_s).isEmpty());
    EXPECT_TRUE(run(u"   "_s, proj + u'/').isEmpty()); // nothing names the folder itself
    EXPECT_TRUE(run(u"/no/such/file"_s).isEmpty());
}

TEST_F(FileMatchTest, SeveralPathsAmongWordsInOrderWithoutDuplicates)
{
    const Context context = run(u"compare main.c with 'sub/util.c', main.c and \""_s + proj
                                    + u"\" and nothing.c"_s,
                                proj + u'/');
    EXPECT_EQ(context.value(ACT_PATHS),
              proj + u"/main.c\n"_s + proj + u"/sub/util.c\n"_s + proj);
    EXPECT_EQ(context.value(ACT_PATH), proj + u"/main.c"_s);
}

TEST_F(FileMatchTest, CarriageReturnsStayOnWordsAndAnEarlierResultBlocksTheMatcher)
{
    const Context crlf = run(u"main.c\r\nMakefile\r\nsub/util.c"_s, proj + u'/');
    EXPECT_EQ(crlf.value(ACT_PATHS), proj + u"/sub/util.c"_s);

    FileMatch matcher;
    Context taken{{CTX_TEXT, proj + u"/main.c"_s}, {ACT_PATH, u""_s}};
    EXPECT_FALSE(matcher.matches(taken));
    EXPECT_FALSE(taken.contains(ACT_PATHS));
}
