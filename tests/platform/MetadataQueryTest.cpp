#include "RecordingRunner.h"
#include "TestEnvironment.h"

#include "foundation/ProcessRunner.h"
#include "platform/MetadataQuery.h"
#include "platform/SearchResultsQuery.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QStandardPaths>

using namespace glimra;
using namespace Qt::StringLiterals;

class MetadataQueryTest : public test::IsolatedTest
{
protected:
    QStringList gather(MetadataQuery &query)
    {
        QSignalSpy finished(&query, &MetadataQuery::didFinishGathering);
        EXPECT_TRUE(query.startQuery());
        EXPECT_TRUE(finished.wait(20000));
        QStringList paths;
        for (qsizetype i = 0; i < query.resultCount(); ++i)
            paths.append(query.resultAtIndex(i).value(u"kMDItemPath"_s).toString());
        paths.sort();
        return paths;
    }
    void setPredicate(MetadataQuery &query, const QString &format)
    {
        const auto predicate = Predicate::predicateWithFormat(format);
        ASSERT_TRUE(predicate);
        query.setPredicate(*predicate);
    }
};

TEST_F(MetadataQueryTest, FolderScopesAreWalkedWithoutFollowingLinkLoops)
{
    writeFile(u"one/src/strings.c"_s, "a");
    writeFile(u"two/deep/er/strings.c"_s, "b");
    writeFile(u"two/.hidden/strings.c"_s, "c");
    writeFile(u"three/strings.c"_s, "d");
    QFile::link(path(u"one"_s), path(u"one/src/loop"_s));
    MetadataQuery query;
    setPredicate(query, u"kMDItemDisplayName == \"strings.c\""_s);
    query.setSearchScopes({path(u"one"_s), path(u"two"_s), path(u"missing"_s)});
    EXPECT_EQ(gather(query),
              (QStringList{path(u"one/src/strings.c"_s), path(u"two/deep/er/strings.c"_s)}));
    const QVariantMap hit = query.resultAtIndex(0);
    EXPECT_EQ(hit.value(u"kMDItemFSName"_s).toString(), u"strings.c"_s);
    EXPECT_EQ(hit.value(u"kMDItemContentType"_s).toString(), u"text/x-csrc"_s);
    EXPECT_EQ(hit.value(u"kMDItemFSSize"_s).toLongLong(), 1);
    EXPECT_TRUE(hit.value(u"kMDItemFSContentChangeDate"_s).toDateTime().isValid());
}

TEST_F(MetadataQueryTest, PlainKeysAndTheirOlderNamesFindTheSameFiles)
{
    writeFile(u"tree/src/strings.c"_s, "a");
    writeFile(u"tree/src/strings.h"_s, "b");
    writeFile(u"tree/doc/strings.c.txt"_s, "c");
    const struct
    {
        QString format;
        QStringList found;
    } rows[] = {
        {u"name == 'strings.c'"_s, {u"tree/src/strings.c"_s}},
        {u"kMDItemDisplayName == 'strings.c'"_s, {u"tree/src/strings.c"_s}},
        {u"path ENDSWITH '/src/strings.h'"_s, {u"tree/src/strings.h"_s}},
        {u"kMDItemPath ENDSWITH '/src/strings.h'"_s, {u"tree/src/strings.h"_s}},
        {u"name BEGINSWITH 'strings.c' AND path CONTAINS '/doc/'"_s, {u"tree/doc/strings.c.txt"_s}},
        {u"name IN {'strings.h', 'strings.c.txt'} AND NOT kMDItemPath CONTAINS 'src'"_s,
         {u"tree/doc/strings.c.txt"_s}},
    };
    for (const auto &row : rows) {
        MetadataQuery query;
        setPredicate(query, row.format);
        query.setSearchScopes({path(u"tree"_s)});
        QStringList expected;
        for (const QString &file : row.found)
            expected.append(path(file));
        EXPECT_EQ(gather(query), expected) << row.format.toStdString();
    }
}

TEST_F(MetadataQueryTest, TheLocalComputerScopeReadsTheFileNameIndex)
{
    if (QStandardPaths::findExecutable(u"updatedb"_s).isEmpty())
        GTEST_SKIP() << "updatedb (plocate) is not installed";
    writeFile(u"tree/a/b/strings.c"_s, "x");
    writeFile(u"tree/a/strings.h"_s, "x");
    writeFile(u"tree/gone/strings.c"_s, "x");
    ProcessRequest build;
    build.program = QStandardPaths::findExecutable(u"updatedb"_s);
    build.arguments = {u"-U"_s, path(u"tree"_s), u"-o"_s, path(u"index.db"_s)};
    ASSERT_TRUE(ProcessRunner::run(build).succeeded());
    // The index is older than the disk: a file removed since is not a hit.
    QFile::remove(path(u"tree/gone/strings.c"_s));
    qputenv("GLIMRA_LOCATE_DB", path(u"index.db"_s).toLocal8Bit());

    MetadataQuery query;
    setPredicate(query, u"kMDItemDisplayName == 'strings.c'"_s);
    query.setSearchScopes({MetadataQuery::LocalComputerScope});
    EXPECT_EQ(gather(query), QStringList{path(u"tree/a/b/strings.c"_s)});
    // The plain key narrows the index as its older name does.
    setPredicate(query, u"name == 'strings.c'"_s);
    EXPECT_EQ(gather(query), QStringList{path(u"tree/a/b/strings.c"_s)});

    setPredicate(query, u"kMDItemDisplayName BEGINSWITH[c] 'STRINGS.' AND kMDItemFSSize == 1"_s);
    EXPECT_EQ(gather(query), (QStringList{path(u"tree/a/b/strings.c"_s), path(u"tree/a/strings.h"_s)}));
    qunsetenv("GLIMRA_LOCATE_DB");
}

// What the index program is asked and what becomes of its answer, without needing one
// installed: a path it lists that is gone is no hit, and where there is no index program or
// it cannot be started, the home folder is walked instead.
TEST_F(MetadataQueryTest, TheLocalComputerScopeAsksTheIndexProgramThroughTheRunner)
{
    writeFile(u"tree/a/b/strings.c"_s, "x");
    writeFile(u"tree/a/strings.h"_s, "x");
    writeFile(u"home/notes/strings.c"_s, "x");
    const QByteArray listed = (path(u"tree/a/b/strings.c"_s) + QChar(0) + path(u"tree/gone/strings.c"_s)
                               + QChar(0) + path(u"tree/a/strings.h"_s) + QChar(0))
                                  .toLocal8Bit();
    qputenv("GLIMRA_LOCATE_DB", "/index.db");
    const struct
    {
        const char *why;
        bool installed;
        bool starts;
        QStringList runs;
        QStringList found;
    } rows[] = {
        {"the index is read, narrowed by the name", true, true,
         {u"/bin/plocate -0 -d /index.db -b -- strings.c"_s}, {u"tree/a/b/strings.c"_s}},
        {"an index program that does not start leaves the home folder", true, false,
         {u"/bin/plocate -0 -d /index.db -b -- strings.c"_s}, {u"home/notes/strings.c"_s}},
        {"without an index program the home folder is walked", false, true, {}, {u"home/notes/strings.c"_s}},
    };
    for (const auto &row : rows) {
        test::RecordingRunner runner;
        if (row.installed)
            runner.installed.insert(u"plocate"_s, u"/bin/plocate"_s);
        runner.answer = [&](const ProcessRequest &) {
            return row.starts ? test::RecordingRunner::printed(listed) : ProcessResult{};
        };
        MetadataQuery query(nullptr, runner);
        setPredicate(query, u"name == 'strings.c'"_s);
        query.setSearchScopes({MetadataQuery::LocalComputerScope});
        QStringList expected;
        for (const QString &file : row.found)
            expected.append(path(file));
        EXPECT_EQ(gather(query), expected) << row.why;
        EXPECT_EQ(runner.runs(), row.runs) << row.why;
    }
    qunsetenv("GLIMRA_LOCATE_DB");
}

TEST_F(MetadataQueryTest, ASearchStartedWhileAnotherGathersReplacesIt)
{
    for (int i = 0; i < 300; ++i)
        writeFile(u"many/d%1/f%2.txt"_s.arg(i % 10).arg(i), "x");
    writeFile(u"other/wanted.txt"_s, "x");
    MetadataQuery query;
    QSignalSpy finished(&query, &MetadataQuery::didFinishGathering);
    setPredicate(query, u"kMDItemDisplayName ENDSWITH '.txt'"_s);
    query.setSearchScopes({path(u"many"_s)});
    ASSERT_TRUE(query.startQuery());
    setPredicate(query, u"kMDItemDisplayName == 'wanted.txt'"_s);
    query.setSearchScopes({path(u"other"_s)});
    ASSERT_TRUE(query.startQuery());
    ASSERT_TRUE(finished.wait(20000));
    QTest::qWait(300); // anything of the first gathering still queued would arrive now
    EXPECT_EQ(finished.size(), 1);
    ASSERT_EQ(query.resultCount(), 1);
    EXPECT_EQ(query.resultAtIndex(0).value(u"kMDItemPath"_s).toString(), path(u"other/wanted.txt"_s));
}

// The index narrows a search that ignores diacritics without losing a hit: whatever the
// words, it finds what a walk over every file finds, in both directions (é finds e, e
// finds é), also once the index has been rebuilt.
TEST_F(MetadataQueryTest, TheIndexFindsWhatAWalkFindsWhenDiacriticsAreIgnored)
{
    const QString updatedb = QStandardPaths::findExecutable(u"updatedb"_s);
    if (updatedb.isEmpty())
        GTEST_SKIP() << "updatedb (plocate) is not installed";
    for (const QString &name : {u"café.txt"_s, u"CAFE-menu.txt"_s, u"cafe\u0301-decomposed.txt"_s,
                                u"Résumé.pdf"_s, u"resume.txt"_s, u"other.txt"_s, u"café/plain.txt"_s,
                                u"日本-cafe.txt"_s, u"日本.txt"_s, u"a[1].txt"_s, u"foo*bar?.txt"_s,
                                u"back\\slash.txt"_s})
        writeFile(u"tree/"_s + name, "x");
    auto buildIndex = [&] {
        ProcessRequest build;
        build.program = updatedb;
        build.arguments = {u"-U"_s, path(u"tree"_s), u"-o"_s, path(u"index.db"_s)};
        ASSERT_TRUE(ProcessRunner::run(build).succeeded());
    };
    buildIndex();
    qputenv("GLIMRA_LOCATE_DB", path(u"index.db"_s).toLocal8Bit());
    auto search = [&](const QString &words, const QStringList &scopes) {
        MetadataQuery query;
        setPredicate(query, SearchResultsQuery::formatFor(words));
        query.setSearchScopes(scopes);
        return gather(query);
    };
    const QString queries[] = {u"cafe"_s, u"CAFÉ"_s, u"resume"_s, u"résumé pdf"_s, u"menu café"_s,
                               u"日本"_s, u"日本 cafe"_s, u"a[1]"_s, u"foo*bar?"_s, u"back\\slash"_s,
                               u"nothing"_s};
    for (const QString &words : queries) {
        const QStringList walked = search(words, {path(u"tree"_s)});
        EXPECT_FALSE(words != u"nothing"_s && walked.isEmpty()) << words.toStdString();
        EXPECT_EQ(search(words, {MetadataQuery::LocalComputerScope}), walked) << words.toStdString();
    }
    writeFile(u"tree/naïve-cafe.txt"_s, "x");
    buildIndex();
    EXPECT_TRUE(search(u"naive"_s, {MetadataQuery::LocalComputerScope})
                    .contains(path(u"tree/naïve-cafe.txt"_s)));
    qunsetenv("GLIMRA_LOCATE_DB");
}
