#include "GlimraProcess.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

using namespace glimra::test;
using namespace Qt::StringLiterals;

class PerlPluginGuessTest : public IsolatedTest
{
};

// Through the program, because the faults showed only from the second interpreter of a
// process on, and took the whole program down.
TEST_F(PerlPluginGuessTest, ABrokenOrRunawayPluginNeverStopsTheGuess)
{
    const QString plugins = userPluginsDir();
    QDir().mkpath(plugins);
    writeFile(plugins + u"/ZGoodMatcher.pl"_s, "sub matches_context { $CONTEXT{ACT_GOOD} = 'yes'; 1 }\n");
    const struct
    {
        const char *what;
        QStringList files;
        QList<QByteArray> contents; // empty: the file is a dangling link
    } rows[] = {
        {"a dangling link", {u"DangMatcher.pl"_s}, {}},
        {"a plug-in that runs forever after one that did not",
         {u"AOneMatcher.pl"_s, u"BTwoMatcher.pl"_s},
         {"sub matches_context { 0 }\n", "sub matches_context { 1 while 1 }\n"}},
    };
    for (const auto &row : rows) {
        for (qsizetype i = 0; i < row.files.size(); ++i) {
            const QString file = plugins + u'/' + row.files[i];
            if (row.contents.isEmpty())
                QFile::link(u"/nonexistent"_s, file);
            else
                writeFile(file, row.contents[i]);
        }
        QElapsedTimer clock;
        clock.start();
        const GlimraRun run = runGlimra({u"match"_s, u"--json"_s, u"--text"_s, u"hello"_s});
        EXPECT_LT(clock.elapsed(), 5000 + 3000) << row.what;
        ASSERT_EQ(run.exitCode, 0) << row.what << ": " << run.err.toStdString();
        EXPECT_EQ(run.json().value(u"matchedContext"_s).toObject().value(u"ACT_GOOD"_s), u"yes"_s)
            << row.what;
        for (const QString &file : row.files)
            QFile::remove(plugins + u'/' + file);
    }
}
