#include "LogCapture.h"
#include "TestEnvironment.h"

#include "plugins/PerlEngine.h"
#include "plugins/PerlPluginMatcher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

using namespace glimra;
using namespace glimra::test;
using namespace Qt::StringLiterals;

class PerlPluginMatcherTest : public IsolatedTest
{
protected:
    std::shared_ptr<PerlEngine> perl = std::make_shared<PerlEngine>();

    // Runs a plug-in whose matches_context has `body`; the matcher's answer.
    bool run(const QByteArray &body, Context &context)
    {
        const QString file = writeFile(u"TestMatcher.pl"_s, "sub matches_context {\n" + body + "\n}\n");
        PerlPluginMatcher matcher(file, perl);
        EXPECT_EQ(matcher.name(), u"TestMatcher.pl"_s);
        return matcher.matches(context);
    }

    // The plug-in at `file` is no match, with one log line naming it, and the next
    // plug-in still works.
    void expectSkipped(const QString &file, const char *what)
    {
        LogCapture log;
        Context context{{CTX_TEXT, u"x"_s}};
        EXPECT_FALSE(PerlPluginMatcher(file, perl).matches(context)) << what;
        const QStringList errors = log.linesStartingWith(u"perl error - "_s);
        EXPECT_EQ(errors.size(), 1) << what;
        EXPECT_TRUE(errors.value(0).contains(file)) << what << ": " << errors.value(0).toStdString();
        EXPECT_TRUE(run("$CONTEXT{ACT_GOOD} = 1; 1", context)) << what;
    }
};

TEST_F(PerlPluginMatcherTest, OnlyAMatchReturnsResultKeys)
{
    Context context{{CTX_TEXT, u"x"_s}};
    EXPECT_TRUE(run("$CONTEXT{ACT_URL} = 'https://x.org'; $CONTEXT{OTHER} = 1; 1", context));
    EXPECT_EQ(context.value(ACT_URL), u"https://x.org"_s);
    EXPECT_FALSE(context.contains(u"OTHER"_s));

    Context declined{{CTX_TEXT, u"x"_s}};
    EXPECT_FALSE(run("$CONTEXT{ACT_URL} = 'https://x.org'; 0", declined));
    EXPECT_EQ(declined, (Context{{CTX_TEXT, u"x"_s}}));
    for (const char *answer : {"-1", "'abc'", "undef", "()"}) {
        Context c{{CTX_TEXT, u"x"_s}};
        EXPECT_FALSE(run(QByteArray("$CONTEXT{ACT_X} = 1; ") + answer, c)) << answer;
    }
    Context two{{CTX_TEXT, u"x"_s}};
    EXPECT_TRUE(run("2", two));
    EXPECT_EQ(two, (Context{{CTX_TEXT, u"x"_s}}));
}

TEST_F(PerlPluginMatcherTest, TheExchangeRules)
{
    Context context{{CTX_TEXT, u"héllo"_s}, {u"ACT_KEEP"_s, u"kept"_s}, {u"ACT_GONE"_s, u"stays"_s},
                    {u"ACT_UNDEF"_s, u"was set"_s}};
    EXPECT_TRUE(run("$CONTEXT{CTX_TEXT} = 'changed';\n"
                    "delete $CONTEXT{ACT_GONE};\n"
                    "$CONTEXT{ACT_UNDEF} = undef;\n"
                    "$CONTEXT{ACT_LENGTH} = length('héllo');\n"
                    "$CONTEXT{ACT_OUT} = \"\\xc3\\xa0 bient\\xc3\\xb4t\";\n"
                    "1",
                    context));
    EXPECT_EQ(context.value(CTX_TEXT), u"héllo"_s);
    EXPECT_EQ(context.value(u"ACT_KEEP"_s), u"kept"_s);
    EXPECT_EQ(context.value(u"ACT_GONE"_s), u"stays"_s);
    EXPECT_EQ(context.value(u"ACT_UNDEF"_s), u""_s);
    EXPECT_EQ(context.value(u"ACT_LENGTH"_s), u"6"_s); // the script's own literal, in bytes
    EXPECT_EQ(context.value(u"ACT_OUT"_s), u"à bientôt"_s);
}

TEST_F(PerlPluginMatcherTest, KeysNeverBecomePerlSource)
{
    const QString marker = path(u"pwned"_s);
    const QString injection = u"ACT_X'}; system(\"touch "_s + marker + u"\"); {'"_s;
    Context context{{CTX_TEXT, u"x"_s}, {injection, u"v"_s}, {u"ACT_a,b\\c"_s, u"w"_s}};
    EXPECT_TRUE(run("$CONTEXT{$_ . '_seen'} = $CONTEXT{$_} for grep { /^ACT_/ } keys %CONTEXT; 1",
                    context));
    EXPECT_FALSE(QFileInfo::exists(marker));
    EXPECT_EQ(context.value(injection + u"_seen"_s), u"v"_s);
    EXPECT_EQ(context.value(u"ACT_a,b\\c_seen"_s), u"w"_s);
}

TEST_F(PerlPluginMatcherTest, BrokenScriptsAreNoMatchWithOneLogLine)
{
    const QString file = writeFile(u"NoSubMatcher.pl"_s, "sub other { 1 }\n$CONTEXT{ACT_TOP} = 1;\n");
    PerlPluginMatcher matcher(file, perl);
    LogCapture log;
    Context context{{CTX_TEXT, u"x"_s}};
    EXPECT_FALSE(matcher.matches(context));
    EXPECT_EQ(log.linesStartingWith(u"perl error - "_s).size(), 1);
    EXPECT_FALSE(context.contains(u"ACT_TOP"_s));

    writeFile(u"NoSubMatcher.pl"_s, "sub matches_context { \n"); // does not compile
    EXPECT_FALSE(matcher.matches(context));
}

TEST_F(PerlPluginMatcherTest, AnEditTakesEffectAtTheNextGuess)
{
    const QString file = writeFile(u"EditMatcher.pl"_s, "sub matches_context { 0 }\n");
    PerlPluginMatcher matcher(file, perl);
    Context context{{CTX_TEXT, u"x"_s}};
    EXPECT_FALSE(matcher.matches(context));
    writeFile(u"EditMatcher.pl"_s, "sub matches_context { $CONTEXT{ACT_NOW} = 'yes'; 1 }\n");
    EXPECT_TRUE(matcher.matches(context));
    EXPECT_EQ(context.value(u"ACT_NOW"_s), u"yes"_s);
}

TEST_F(PerlPluginMatcherTest, AFileThatCannotBeLoadedIsSkippedWithOneLogLineNamingIt)
{
    const QString plugins = userPluginsDir();
    QDir().mkpath(plugins);
    const struct
    {
        const char *what;
        std::function<void(const QString &)> make;
    } rows[] = {
        {"a dangling link", [](const QString &file) { QFile::link(u"/nonexistent"_s, file); }},
        {"a link loop",
         [](const QString &file) {
             QFile::link(file + u".other"_s, file);
             QFile::link(file, file + u".other"_s);
         }},
        {"a folder", [](const QString &file) { QDir().mkpath(file); }},
        {"a FIFO, which must not hang the guess",
         [](const QString &file) { ::mkfifo(QFile::encodeName(file).constData(), 0600); }},
        {"a file over 1 MiB",
         [this](const QString &file) {
             writeFile(file, "sub matches_context { 1 }\n#" + QByteArray(1024 * 1024, 'x') + '\n');
         }},
        {"a file that does not compile",
         [this](const QString &file) { writeFile(file, "sub matches_context {\n"); }},
        {"a BEGIN block that dies",
         [this](const QString &file) { writeFile(file, "BEGIN { die \"no\\n\" } sub matches_context { 1 }\n"); }},
        {"a BEGIN block that exits",
         [this](const QString &file) { writeFile(file, "BEGIN { exit 0 } sub matches_context { 1 }\n"); }},
    };
    int count = 0;
    for (const auto &row : rows) {
        const QString file = plugins + u"/Broken%1Matcher.pl"_s.arg(++count);
        row.make(file);
        expectSkipped(file, row.what);
    }
}

TEST_F(PerlPluginMatcherTest, AnUnreadableFileIsSkippedWithOneLogLine)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "running as root, which reads any file: no unreadable file can be made";
    const QString file = writeFile(u"SecretMatcher.pl"_s, "sub matches_context { 1 }\n");
    QFile::setPermissions(file, QFileDevice::WriteOwner);
    expectSkipped(file, "an unreadable file");
}
