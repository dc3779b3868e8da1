#include "TestEnvironment.h"

#include "foundation/ProcessRunner.h"
#include "platform/MetadataQuery.h"

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

    setPredicate(query, u"kMDItemDisplayName BEGINSWITH[c] 'STRINGS.' AND kMDItemFSSize == 1"_s);
    EXPECT_EQ(gather(query), (QStringList{path(u"tree/a/b/strings.c"_s), path(u"tree/a/strings.h"_s)}));
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
