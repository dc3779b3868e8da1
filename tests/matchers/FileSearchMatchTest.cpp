#include "LogCapture.h"
#include "RecordingRunner.h"
#include "TestEnvironment.h"

#include "matchers/FileSearchMatch.h"

#include <QDirIterator>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <utime.h>

using namespace glimra;
using namespace Qt::StringLiterals;

class FileSearchMatchTest : public test::IsolatedTest
{
protected:
    void SetUp() override
    {
        IsolatedTest::SetUp();
        QObject::connect(&search, &FileSearchMatch::filesFound, &search,
                         [this](quint64, const QList<FileObject> &files) { deliveries.append(files); });
    }
    void TearDown() override
    {
        qunsetenv("GLIMRA_LOCATE_DB");
        IsolatedTest::TearDown();
    }
    // Writes a file whose content change date is `age` seconds in the past.
    QString fileAged(const QString &relative, int age)
    {
        const QString absolute = writeFile(relative, "x");
        const time_t when = time(nullptr) - age;
        struct utimbuf times{when, when};
        utime(absolute.toLocal8Bit().constData(), &times);
        return absolute;
    }
    bool start(const Context &context)
    {
        Context working = context;
        search.beginRun(currentRun()); // as the engine does
        return search.matches(working);
    }
    QStringList deliveredPaths()
    {
        QSignalSpy finished(&search, &FileSearchMatch::finished);
        EXPECT_TRUE(finished.wait(20000));
        QStringList paths;
        for (const QList<FileObject> &delivery : std::as_const(deliveries)) {
            for (const FileObject &file : delivery)
                paths.append(file.filePath());
        }
        return paths;
    }
    // The file-name index stands in for the system's: it lists every file under `root`
    // (what the real index narrows by name, the search's own predicate narrows again).
    void buildIndex(const QString &root)
    {
        index.installed.insert(u"plocate"_s, u"/usr/bin/plocate"_s);
        index.answer = [root](const ProcessRequest &) {
            QByteArray listed;
            QDirIterator files(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
            while (files.hasNext())
                listed += files.next().toLocal8Bit() + '\0';
            return test::RecordingRunner::printed(listed);
        };
        qputenv("GLIMRA_LOCATE_DB", path(u"index.db"_s).toLocal8Bit());
    }

    test::RecordingRunner index;
    FileSearchMatch search{nullptr, index};
    QList<QList<FileObject>> deliveries;
};

TEST_F(FileSearchMatchTest, EarlierResultsAndPathlessTextsStartNoSearch)
{
    EXPECT_FALSE(start({{CTX_TEXT, u"a/b.c"_s}, {ACT_PATHS, u"/x"_s}}));
    EXPECT_FALSE(start({{CTX_TEXT, u"a/b.c"_s}, {ACT_PATH, u"/x"_s}}));
    EXPECT_FALSE(start({{CTX_TEXT, u"a/b.c"_s}, {ACT_DATA_TYPE, u"PDF"_s}}));
    EXPECT_FALSE(start({{CTX_TEXT, u"no slash in any word"_s}}));
    EXPECT_FALSE(search.isSearching());
}

TEST_F(FileSearchMatchTest, PartialPathsMatchWholeComponentsNewestFirst)
{
    const QString older = fileAged(u"proj/src/util/strings.c"_s, 3600);
    const QString newer = fileAged(u"other/src/util/strings.c"_s, 60);
    fileAged(u"proj/mysrc/util/strings.c"_s, 10);
    fileAged(u"proj/src/strings.c"_s, 10);
    buildIndex(path());
    test::LogCapture log;
    ASSERT_TRUE(start({{CTX_TEXT, u"see src/util/strings.c line 3"_s}}));
    EXPECT_EQ(search.searchScope(), QStringList{MetadataQuery::LocalComputerScope});
    EXPECT_EQ(deliveredPaths(), (QStringList{newer, older}));
    EXPECT_FALSE(log.linesStartingWith(u"A data batch has been received"_s).isEmpty());
    QStringList got = log.linesStartingWith(u"GOT IT:"_s);
    got.sort(); // in the order the index gave them
    EXPECT_EQ(got, (QStringList{u"GOT IT:"_s + newer, u"GOT IT:"_s + older}));
    ASSERT_EQ(deliveries.size(), 1);
    EXPECT_EQ(deliveries[0][0].label(), u"strings.c"_s);
    EXPECT_EQ(deliveries[0][0].urlPath(), u"file://"_s + newer);
    EXPECT_TRUE(deliveries[0][0].cdate().isValid());
}

TEST_F(FileSearchMatchTest, TheBaseFolderAndTheExclusionFilterNarrowTheHits)
{
    fileAged(u"proj/src/util/strings.c"_s, 10);
    fileAged(u"other/src/util/strings.c"_s, 20);
    fileAged(u"proj/.git/src/util/strings.c"_s, 5);
    buildIndex(path());
    setDefault(u"search_exclusion_filter"_s, u"path CONTAINS '/.git/'"_s);
    ASSERT_TRUE(start({{CTX_TEXT, u"src/util/strings.c"_s}, {CTX_DIRx, path(u"proj"_s)}}));
    EXPECT_EQ(deliveredPaths(), QStringList{path(u"proj/src/util/strings.c"_s)});
}

TEST_F(FileSearchMatchTest, ASearchFileLooksInTheDocumentFolderOrTheGivenScopes)
{
    fileAged(u"doc/deep/wanted.txt"_s, 10);
    fileAged(u"a/wanted.txt"_s, 20);
    fileAged(u"b/x/wanted.txt"_s, 30);
    ASSERT_TRUE(start({{ACT_SEARCH_FILE, u"wanted.txt"_s}, {CTX_DIR, path(u"doc/"_s)}}));
    EXPECT_EQ(search.searchScope(), QStringList{path(u"doc/"_s)});
    EXPECT_EQ(deliveredPaths(), QStringList{path(u"doc/deep/wanted.txt"_s)});

    deliveries.clear();
    ASSERT_TRUE(start({{ACT_SEARCH_FILE, u"x/wanted.txt"_s}, {CTX_DIR, path(u"doc/"_s)},
                       {ACT_SEARCH_SCOPE, path(u"a"_s) + u':' + path(u"b"_s)}}));
    EXPECT_EQ(search.searchScope(), (QStringList{path(u"a"_s), path(u"b"_s)}));
    EXPECT_EQ(search.searchedPath(), u"x/wanted.txt"_s);
    EXPECT_EQ(deliveredPaths(), QStringList{path(u"b/x/wanted.txt"_s)});
}

TEST_F(FileSearchMatchTest, AGivenQueryRunsUnchangedAndABrokenOneIsSkipped)
{
    fileAged(u"q/one.log"_s, 10);
    fileAged(u"q/two.log"_s, 20);
    fileAged(u"q/three.txt"_s, 30);
    ASSERT_TRUE(start({{ACT_SEARCH_QUERY, u"kMDItemDisplayName LIKE '*.log'"_s},
                       {ACT_SEARCH_SCOPE, path(u"q"_s)}}));
    EXPECT_EQ(deliveredPaths(), (QStringList{path(u"q/one.log"_s), path(u"q/two.log"_s)}));

    test::LogCapture log;
    EXPECT_FALSE(start({{ACT_SEARCH_QUERY, u"kMDItemDisplayName == "_s}}));
    EXPECT_FALSE(search.isSearching());
    EXPECT_EQ(log.linesStartingWith(u"search query skipped"_s).size(), 1);
}

TEST_F(FileSearchMatchTest, ANameHoldingQuotesIsSearchedAsWritten)
{
    const QString odd = fileAged(u"n/say \"hi\" \\ 100%.txt"_s, 10);
    ASSERT_TRUE(start({{ACT_SEARCH_FILE, u"say \"hi\" \\ 100%.txt"_s}, {ACT_SEARCH_SCOPE, path(u"n"_s)}}));
    EXPECT_EQ(deliveredPaths(), QStringList{odd});
}

TEST_F(FileSearchMatchTest, ASecondSearchReplacesOneStillGathering)
{
    for (int i = 0; i < 400; ++i)
        writeFile(u"big/d%1/match.txt"_s.arg(i), "x");
    fileAged(u"small/match.txt"_s, 10);
    QSignalSpy finished(&search, &FileSearchMatch::finished);
    ASSERT_TRUE(start({{ACT_SEARCH_FILE, u"match.txt"_s}, {ACT_SEARCH_SCOPE, path(u"big"_s)}}));
    ASSERT_TRUE(start({{ACT_SEARCH_FILE, u"match.txt"_s}, {ACT_SEARCH_SCOPE, path(u"small"_s)}}));
    ASSERT_TRUE(finished.wait(20000));
    QTest::qWait(300);
    EXPECT_EQ(finished.size(), 1);
    ASSERT_EQ(deliveries.size(), 1);
    EXPECT_EQ(deliveries[0].size(), 1);
}

TEST_F(FileSearchMatchTest, AMissingAbsolutePathDeliversOnlyThatVeryPath)
{
    fileAged(u"elsewhere/gone.c"_s, 10);
    buildIndex(path());
    ASSERT_TRUE(start({{CTX_TEXT, path(u"removed/gone.c"_s)}}));
    EXPECT_TRUE(deliveredPaths().isEmpty());
    EXPECT_TRUE(deliveries.isEmpty());
}

TEST_F(FileSearchMatchTest, TheWordsSearchForTheFirstStandardizedPathThatNamesNoFile)
{
    const QString existing = writeFile(u"here.c"_s, "x");
    buildIndex(path());
    const struct
    {
        QString text;
        QString searched;
    } rows[] = {
        // A lone "~" gains its "/" from standardizing, and names a folder, not a file.
        {u"see ~ and a/b.c"_s, path(u"home"_s)},
        {u"x/ ./y.c "_s + existing + u" a/b.c"_s, u"a/b.c"_s},
    };
    for (const auto &row : rows) {
        deliveries.clear();
        ASSERT_TRUE(start({{CTX_TEXT, row.text}})) << row.text.toStdString();
        EXPECT_EQ(search.searchedPath(), row.searched);
        deliveredPaths();
    }
}
