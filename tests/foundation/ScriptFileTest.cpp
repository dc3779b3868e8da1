#include "TestEnvironment.h"

#include "foundation/ScriptFile.h"

#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

using namespace glimra;
using namespace Qt::StringLiterals;

class ScriptFileTest : public test::IsolatedTest
{
};

TEST_F(ScriptFileTest, OnlyRegularReadableFilesOfAtMostAMebibyteAreLoaded)
{
    writeFile(u"plain.pl"_s, "sub x {}\n");
    writeFile(u"huge.pl"_s, QByteArray(ScriptFile::MaximumBytes + 1, '#'));
    QFile::link(path(u"plain.pl"_s), path(u"link.pl"_s));
    QFile::link(u"/nonexistent"_s, path(u"dangling.pl"_s));
    QFile::link(path(u"loop-b.pl"_s), path(u"loop-a.pl"_s));
    QFile::link(path(u"loop-a.pl"_s), path(u"loop-b.pl"_s));
    QFile::link(u"/dev/zero"_s, path(u"zero.pl"_s));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path(u"fifo.pl"_s)).constData(), 0600), 0);
    writeFile(u"folder.pl/inside"_s, "");

    const struct
    {
        QString name;
        bool loadable;
    } rows[] = {
        {u"plain.pl"_s, true},    {u"link.pl"_s, true},      {u"huge.pl"_s, false},
        {u"dangling.pl"_s, false}, {u"loop-a.pl"_s, false},  {u"zero.pl"_s, false},
        {u"fifo.pl"_s, false},    {u"folder.pl"_s, false},   {u"missing.pl"_s, false},
    };
    for (const auto &row : rows) {
        const QString file = path(row.name);
        QString why;
        const std::optional<QByteArray> contents = ScriptFile::read(file, &why);
        EXPECT_EQ(ScriptFile::whyNotLoadable(file).isNull(), row.loadable) << row.name.toStdString();
        EXPECT_EQ(contents.has_value(), row.loadable) << row.name.toStdString();
        EXPECT_EQ(why.isEmpty(), row.loadable) << row.name.toStdString();
    }
    EXPECT_EQ(ScriptFile::read(path(u"link.pl"_s)).value(), "sub x {}\n");
}
