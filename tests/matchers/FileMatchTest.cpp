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
    EXPECT_EQ(compiler, (Context{{ACT_PATH, proj + u"/main.c"_s}, {ACT_PATH_LINE, u"12"_s},
                                 {ACT_PATH_COLUMN, u"5"_s}}));
    EXPECT_EQ(run(proj + u"/main.c:42"_s), (Context{{ACT_PATH, proj + u"/main.c"_s},
                                                  {ACT_PATH_LINE, u"42"_s}}));
    // No digits after the colon: the word rule finds the file, without a line number.
    EXPECT_EQ(run(u"main.c:abc"_s, proj + u'/'),
              (Context{{ACT_PATH, proj + u"/main.c"_s}, {ACT_PATHS, proj + u"/main.c"_s}}));
    EXPECT_TRUE(run(u":12"_s, proj + u'/').isEmpty());
}

TEST_F(FileMatchTest, AColumnIsTakenOnlyFromDigitsRightAfterTheLineAndAColon)
{
    const struct
    {
        const char *text;
        const char *column;
    } rows[] = {
        {"main.c:7:31", "31"},
        {"main.c:7:31:warning", "31"},
        {"main.c:7: error 3:4", "none"},
        {"main.c:7:", "none"},
        {"main.c:7:x2", "none"},
        {"main.c:7::2", "none"},
        {"main.c:7 :2", "none"},
    };
    for (const auto &row : rows) {
        const Context context = run(QString::fromUtf8(row.text), proj + u'/');
        EXPECT_EQ(context.value(ACT_PATH_LINE), u"7"_s) << row.text;
        EXPECT_EQ(context.value(ACT_PATH_COLUMN, u"none"_s), QString::fromUtf8(row.column))
            << row.text;
    }
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

TEST_F(FileMatchTest, LargeSelectionsFindWhatSmallOnesDo)
{
    const QString main = proj + u"/main.c"_s;
    QStringList manyWords;
    for (qsizetype i = 0; i < FileMatch::SeenWordsLimit + 10; ++i)
        manyWords.append(u"w%1"_s.arg(i));
    const struct
    {
        const char *description;
        QString text;
        QString dir;
        Context expected;
    } rows[] = {
        {"names repeated thousands of times are listed once, in order of first appearance",
         u"main.c Makefile ./main.c sub/util.c "_s.repeated(2000) + u"nothing.c"_s, proj + u'/',
         {{ACT_PATH, main},
          {ACT_PATHS, main + u'\n' + proj + u"/Makefile\n"_s + proj + u"/sub/util.c"_s}}},
        {"a path named again after more different words than are remembered is listed once",
         main + u' ' + manyWords.join(u' ') + u' ' + main + u' ' + proj + u"/Makefile"_s, {},
         {{ACT_PATH, main}, {ACT_PATHS, main + u'\n' + proj + u"/Makefile"_s}}},
        {"a single path padded far beyond the longest path still names its file",
         proj + u"/./"_s.repeated(5000) + u"main.c:42"_s, {},
         {{ACT_PATH, main}, {ACT_PATH_LINE, u"42"_s}}},
        {"a long relative path whose \"..\" components climb back is joined to the folder",
         u"sub/../"_s.repeated(1000) + u"main.c:12"_s, proj + u'/',
         {{ACT_PATH, main}, {ACT_PATH_LINE, u"12"_s}}},
    };
    for (const auto &row : rows)
        EXPECT_EQ(run(row.text, row.dir), row.expected) << row.description;
}
