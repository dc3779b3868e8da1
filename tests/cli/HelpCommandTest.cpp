#include "GlimraProcess.h"
#include "TestEnvironment.h"

#include <QDir>

using namespace glimra;
using namespace glimra::test;
using namespace Qt::StringLiterals;

class HelpCommandTest : public IsolatedTest
{
};

TEST_F(HelpCommandTest, VersionAndOverviewGoToStandardOutput)
{
    const GlimraRun version = runGlimra({u"--version"_s});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, u"glimra " GLIMRA_VERSION "\n"_s);
    for (const QString &option : {u"--help"_s, u"-h"_s}) {
        const GlimraRun help = runGlimra({option});
        EXPECT_EQ(help.exitCode, 0);
        EXPECT_TRUE(help.out.startsWith(u"usage: glimra [<command> [options]]\n"_s));
        EXPECT_TRUE(help.out.contains(u"\n  regexp match|multiple|split TEXT PATTERN [--json]\n"_s));
        EXPECT_TRUE(help.err.isEmpty()) << help.err.toStdString();
    }
}

TEST_F(HelpCommandTest, EachCommandsHelpPrintsItsUsageAndOptionsAndDoesNothingElse)
{
    const struct
    {
        QStringList arguments;
        QString usage;
        QString option;
    } rows[] = {
        {{u"match"_s, u"--help"_s}, u"usage: glimra match [--text TEXT"_s, u"--text-file <FILE>"_s},
        {{u"guess"_s, u"-h"_s}, u"usage: glimra guess"_s, u"--wait <SECONDS>"_s},
        {{u"service"_s, u"--help"_s}, u"usage: glimra service"_s, u"--json"_s},
        {{u"show"_s, u"--help"_s}, u"usage: glimra show\n"_s, u"--help"_s},
        {{u"call"_s, u"guess"_s, u"--help"_s}, u"usage: glimra call guess"_s, u"--url <URL>"_s},
        {{u"regexp"_s, u"--help"_s}, u"usage: glimra regexp"_s, u"--json"_s},
        {{u"defaults"_s, u"write"_s, u"hide_after_action"_s, u"true"_s, u"--help"_s},
         u"usage: glimra defaults read [KEY]"_s, u"--help"_s},
        {{u"plugins"_s, u"new"_s, u"matcher"_s, u"Probe"_s, u"--help"_s},
         u"usage: glimra plugins list [--json]\n       glimra plugins new"_s, u"--kind <KIND>"_s},
        {{u"preferences"_s, u"--help"_s}, u"usage: glimra preferences [PAGE]"_s, u"--help"_s},
        {{u"help"_s, u"--help"_s}, u"usage: glimra help"_s, u"--help"_s},
    };
    for (const auto &row : rows) {
        const GlimraRun run = runGlimra(row.arguments);
        const std::string what = row.arguments.join(u' ').toStdString();
        EXPECT_EQ(run.exitCode, 0) << what << run.err.toStdString();
        EXPECT_TRUE(run.out.startsWith(row.usage)) << what << run.out.toStdString();
        EXPECT_TRUE(run.out.contains(row.option)) << what;
        EXPECT_TRUE(run.err.isEmpty()) << what << run.err.toStdString();
    }
    // Neither the setting nor the plug-in was written.
    EXPECT_TRUE(QDir(path(u"config"_s)).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot));
    EXPECT_TRUE(QDir(path(u"data"_s)).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot));
}

TEST_F(HelpCommandTest, UsageErrorsStayOnStandardError)
{
    for (const QStringList &arguments : {QStringList{u"frobnicate"_s}, QStringList{u"show"_s, u"now"_s},
                                         QStringList{u"regexp"_s, u"--help-me"_s}}) {
        const GlimraRun run = runGlimra(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
        EXPECT_FALSE(run.err.isEmpty());
    }
}
