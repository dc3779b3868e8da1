#include "TestEnvironment.h"

#include "foundation/Paths.h"

#include <QDir>

using namespace glimra;
using namespace Qt::StringLiterals;

class Paths : public test::IsolatedTest
{
};

TEST_F(Paths, StandardizingCollapsesComponentsAndExpandsTheHomeFolder)
{
    const QString home = path(u"home"_s);
    const struct
    {
        QString input;
        QString expected;
    } rows[] = {
        {u"/usr//lib/./x/"_s, u"/usr/lib/x"_s},
        {u"/usr/lib/../bin"_s, u"/usr/bin"_s},
        {u"/.."_s, u"/"_s},
        {u"/"_s, u"/"_s},
        {u"~/notes.txt"_s, home + u"/notes.txt"_s},
        {u"~"_s, home},
        {u"src/../main.c"_s, u"src/../main.c"_s}, // ".." is resolved in absolute paths only
        {u"./src//main.c"_s, u"src/main.c"_s},
        {u"~nosuchuser/x"_s, u"~nosuchuser/x"_s},
        {u""_s, u""_s},
    };
    for (const auto &row : rows)
        EXPECT_EQ(stringByStandardizingPath(row.input), row.expected) << row.input.toStdString();
    EXPECT_TRUE(stringByStandardizingPath(QString()).isNull());
    EXPECT_EQ(stringByStandardizingPath(u"~root/x"_s), u"/root/x"_s);
}

TEST_F(Paths, StandardizingResolvesParentsOnlyInAbsolutePathsAndKeepsRelativeOnesRelative)
{
    const struct
    {
        QString input;
        QString expected;
    } rows[] = {
        {u"/a/b/../../../c"_s, u"/c"_s}, // above the root stays at the root
        {u"/a/../b/./c/.."_s, u"/b"_s},
        {u"x/./y/"_s, u"x/y"_s},
        {u"../x/.."_s, u"../x/.."_s},
        {u"a/"_s, u"a"_s},
        {u"./"_s, u"."_s},
        {u"."_s, u"."_s},
        {u"//"_s, u"/"_s},
    };
    for (const auto &row : rows)
        EXPECT_EQ(stringByStandardizingPath(row.input), row.expected) << row.input.toStdString();
}

TEST_F(Paths, ComponentsOfAPath)
{
    EXPECT_EQ(basename(u"/tmp/dir/"_s), u"dir"_s);
    EXPECT_EQ(basename(u"/"_s), u"/"_s);
    EXPECT_EQ(basename(u"name.c"_s), u"name.c"_s);
    EXPECT_EQ(dirname(u"/tmp/dir/file.c"_s), u"/tmp/dir"_s);
    EXPECT_EQ(dirname(u"/file"_s), u"/"_s);
    EXPECT_EQ(dirname(u"file"_s), u""_s);
    EXPECT_EQ(basename_ext(u"/a/b.tar.gz"_s), u"gz"_s);
    EXPECT_EQ(basename_ext(u"/a/.profile"_s), u""_s);
    EXPECT_EQ(basename_ext(u"/a/Makefile"_s), u""_s);
}

TEST_F(Paths, FolderVariablesFollowTheEnvironment)
{
    qputenv("GLIMRA_RESOURCES", path(u"res"_s).toLocal8Bit());
    EXPECT_EQ(expandPath(u"${APP_SUPPORT}/Glimra"_s), path(u"data/Glimra"_s));
    EXPECT_EQ(expandPath(u"${APP_PLUGINS}/x.pl"_s), path(u"res/PlugIns/x.pl"_s));
    EXPECT_EQ(expandPath(u"${HOME}/a"_s), path(u"home/a"_s));
    EXPECT_EQ(expandPath(u"file:///tmp/a%20b"_s), u"/tmp/a b"_s);
    qunsetenv("GLIMRA_RESOURCES");
    // An unset or relative XDG variable falls back to the home folder's default.
    qputenv("XDG_DATA_HOME", "relative/dir");
    EXPECT_EQ(appSupportDir(), path(u"home/.local/share"_s));
}

TEST_F(Paths, ListingFilesGivesFullPathsSortedByName)
{
    writeFile(u"p/BMatcher.pl"_s, "");
    writeFile(u"p/AMatcher.pl"_s, "");
    writeFile(u"p/.HiddenMatcher.pl"_s, "");
    writeFile(u"p/AMatcher.sh"_s, "");
    EXPECT_EQ(ls_files(path(u"p/*Matcher*.pl"_s)),
              (QStringList{path(u"p/AMatcher.pl"_s), path(u"p/BMatcher.pl"_s)}));
    EXPECT_TRUE(ls_files(path(u"missing/*"_s)).isEmpty());
}

TEST_F(Paths, ExistenceTestsTellFilesFromFolders)
{
    const QString file = writeFile(u"f.txt"_s, "x");
    EXPECT_TRUE(file_exists(file));
    EXPECT_FALSE(dir_exists(file));
    EXPECT_TRUE(dir_exists(path()));
    EXPECT_FALSE(file_exists(path()));
    EXPECT_TRUE(path_exists(path()));
    EXPECT_FALSE(path_exists(u""_s));
    EXPECT_TRUE(cp_file(file, path(u"g.txt"_s)));
    EXPECT_FALSE(cp_file(file, path(u"g.txt"_s))); // never overwrites
}
