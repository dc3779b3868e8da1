#include "TestEnvironment.h"

#include "matchers/PartialPathSearch.h"

#include <QFile>

#include <sys/stat.h>

using namespace glimra;
using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

class PartialPathSearchTest : public test::IsolatedTest
{
protected:
    void SetUp() override
    {
        IsolatedTest::SetUp();
        for (const char *file : {"root/deep/er/still/x.py", "root/a/x.py", "root/a/pkg/y.go",
                                 "root/b/other/y.go", "root/.hidden/z.c", "outside/w.c",
                                 "outside/v.c"})
            writeFile(QString::fromUtf8(file), "\n");
        root = path(u"root"_s);
    }
    QHash<QString, QString> find(const QStringList &partials,
                                 PartialPathSearch::Limits limits = PartialPathSearch::DefaultLimits) const
    {
        return PartialPathSearch::find(root + u'/', partials, limits);
    }
    QString root;
};

TEST_F(PartialPathSearchTest, FindsTheNearestFileThatEndsWithEachPath)
{
    const QHash<QString, QString> found =
        find({u"x.py"_s, u"pkg/y.go"_s, u"ain.c"_s, u"z.c"_s, u"a/x.py"_s});
    EXPECT_EQ(found, (QHash<QString, QString>{{u"x.py"_s, root + u"/a/x.py"_s},
                                              {u"pkg/y.go"_s, root + u"/a/pkg/y.go"_s},
                                              {u"a/x.py"_s, root + u"/a/x.py"_s}}))
        << "a name's end is no name, and hidden folders are not entered";
}

TEST_F(PartialPathSearchTest, LinksToFoldersAreNotFollowedAndOnlyFilesAreHits)
{
    ASSERT_TRUE(QFile::link(root, root + u"/loop"_s));
    ASSERT_TRUE(QFile::link(path(u"outside"_s), root + u"/elsewhere"_s));
    ASSERT_TRUE(QFile::link(path(u"outside/v.c"_s), root + u"/b/v.c"_s));
    ASSERT_EQ(::mkfifo(QFile::encodeName(root + u"/b/fifo.c"_s).constData(), 0600), 0);
    QDir().mkpath(root + u"/b/folder.c"_s);
    EXPECT_EQ(find({u"w.c"_s, u"v.c"_s, u"fifo.c"_s, u"folder.c"_s, u"loop/a/x.py"_s}),
              (QHash<QString, QString>{{u"v.c"_s, root + u"/b/v.c"_s}}));
}

TEST_F(PartialPathSearchTest, StopsAtItsLimits)
{
    for (int i = 0; i < 50; ++i)
        writeFile(u"root/many/f%1.txt"_s.arg(i), "");
    writeFile(u"root/many/sub/target.txt"_s, "");
    const struct
    {
        const char *description;
        PartialPathSearch::Limits limits;
        bool found;
    } rows[] = {
        {"enough entries and time", {10s, 1000}, true},
        {"fewer entries than lie before the file", {10s, 40}, false},
        {"no time", {0ms, 1000}, false},
    };
    for (const auto &row : rows)
        EXPECT_EQ(find({u"target.txt"_s}, row.limits).contains(u"target.txt"_s), row.found)
            << row.description;
    EXPECT_TRUE(PartialPathSearch::find(path(u"no-such-folder"_s), {u"x.py"_s}).isEmpty());
    EXPECT_TRUE(find({}).isEmpty());
}
