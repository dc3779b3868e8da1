#include "RecordingRunner.h"
#include "TestEnvironment.h"

#include "plugins/SHPluginAction.h"
#include "plugins/SHPluginMatcher.h"
#include "plugins/execsh.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>

using namespace glimra;
using namespace Qt::StringLiterals;

class ShellPluginTest : public test::IsolatedTest
{
protected:
    bool match(const QByteArray &script, Context &context)
    {
        SHPluginMatcher matcher(writeFile(u"TestMatcher.sh"_s, script));
        EXPECT_EQ(matcher.name(), u"TestMatcher.sh"_s);
        return matcher.matches(context);
    }
    QString recorded(const QString &name)
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
};

TEST_F(ShellPluginTest, PrintedResultKeysBecomeEntries)
{
    Context context{{CTX_TEXT, u"t"_s}};
    EXPECT_TRUE(match("echo ACT_TEXT=abc\necho FOO=bar\necho ACT_A=b=c\necho 'ACT_B =x'\n"
                      "printf 'ACT_CR=v\\r\\n'\necho ACT_TEXT=last\n",
                      context));
    EXPECT_EQ(context.value(ACT_TEXT), u"last"_s);
    EXPECT_EQ(context.value(u"ACT_A"_s), u"b=c"_s);
    EXPECT_EQ(context.value(u"ACT_B "_s), u"x"_s);
    EXPECT_EQ(context.value(u"ACT_CR"_s), u"v\r"_s);
    EXPECT_FALSE(context.contains(u"FOO"_s));

    Context skipped{{CTX_TEXT, u"t"_s}};
    EXPECT_FALSE(match("echo =abc\necho no-equals\necho ACT_A=\n", skipped));
    EXPECT_FALSE(match("echo ACT_TEXT=abc\nexit 1\n", skipped));
    EXPECT_FALSE(match("printf 'ACT_TEXT=\\377\\n'\n", skipped)); // not UTF-8
    EXPECT_EQ(skipped, (Context{{CTX_TEXT, u"t"_s}}));
}

TEST_F(ShellPluginTest, TheEnvironmentIsTheContextAndTheTextComesOnInput)
{
    const QByteArray script = "env | sort > '" + path(u"env.txt"_s).toUtf8() + "'\n"
                              "cat > '" + path(u"input.txt"_s).toUtf8() + "'\n"
                              "echo ACT_SEEN=1\n";
    Context context{{CTX_TEXT, u"the text\nhéllo"_s}, {CTX_DIR, u"/some dir/"_s},
                    {u"ACT_PREVIOUS"_s, u"p"_s}};
    ASSERT_TRUE(match(script, context));
    EXPECT_EQ(recorded(u"input.txt"_s), u"the text\nhéllo"_s);
    const QString environment = recorded(u"env.txt"_s);
    EXPECT_TRUE(environment.contains(u"CTX_DIR=/some dir/\n"_s));
    EXPECT_TRUE(environment.contains(u"ACT_PREVIOUS=p\n"_s));
    EXPECT_FALSE(environment.contains(u"CTX_TEXT"_s));
    EXPECT_FALSE(environment.contains(u"HOME="_s));
    EXPECT_FALSE(environment.contains(u"XDG_"_s));
}

TEST_F(ShellPluginTest, NamesTheShellOrLoaderActOnAreNeverPassedAndHugeValuesAreCut)
{
    // A function that ksh would autoload from FPATH, were FPATH passed.
    writeFile(u"functions/evil"_s, "function evil { echo ACT_EVIL=ran; }\n");
    const QByteArray script = "env | sort > '" + path(u"env.txt"_s).toUtf8() + "'\n"
                              "evil 2>/dev/null\necho ACT_SEEN=1\n";
    const QString wide = QString(40000, u'é'); // 80,000 bytes of UTF-8
    Context context{{CTX_TEXT, u"t"_s},
                    {u"FPATH"_s, path(u"functions"_s)},
                    {u"ENV"_s, path(u"functions/evil"_s)},
                    {u"BASH_ENV"_s, u"x"_s},
                    {u"LD_PRELOAD"_s, u"/nonexistent.so"_s},
                    {u"PATH"_s, u"/tmp"_s},
                    {u"PYTHONPATH"_s, u"/tmp"_s},
                    {u"1BAD"_s, u"x"_s},
                    {u"A-B"_s, u"x"_s},
                    {u"USER_KEY"_s, u"kept"_s},
                    {CTX_PATH, u"/p"_s},
                    {ACT_DATA_PATH, u"/d"_s},
                    {ACT_WORDS, wide},
                    {u"ACT_NUL"_s, u"before"_s + QChar(0) + u"after"_s}};
    ASSERT_TRUE(match(script, context));
    EXPECT_FALSE(context.contains(u"ACT_EVIL"_s));
    const QStringList lines = recorded(u"env.txt"_s).split(u'\n');
    QStringList names;
    for (const QString &line : lines)
        names.append(line.section(u'=', 0, 0));
    for (const QString &name : {u"FPATH"_s, u"ENV"_s, u"BASH_ENV"_s, u"LD_PRELOAD"_s, u"PYTHONPATH"_s,
                                u"1BAD"_s, u"A-B"_s})
        EXPECT_FALSE(names.contains(name)) << name.toStdString();
    EXPECT_FALSE(lines.contains(u"PATH=/tmp"_s));
    for (const QString &line : {u"USER_KEY=kept"_s, u"CTX_PATH=/p"_s, u"ACT_DATA_PATH=/d"_s,
                                u"ACT_NUL=before"_s, u"GLIMRA_CUT_KEYS=ACT_NUL ACT_WORDS"_s})
        EXPECT_TRUE(lines.contains(line)) << line.toStdString();
    const QString words = lines.filter(QRegularExpression(u"^ACT_WORDS="_s)).value(0).mid(10);
    EXPECT_EQ(words, QString(ShellEnvironment::MaximumValueBytes / 2, u'é')); // cut between characters
}

TEST_F(ShellPluginTest, AOneLineSelectionOfAnySizeStillReachesThePlugin)
{
    // ACT_WORDS (the whole line) would exceed the kernel's limit on one variable.
    Context context{{CTX_TEXT, QString(300000, u'w')}, {ACT_WORDS, QString(300000, u'w')}};
    EXPECT_TRUE(match("n=$(wc -c)\necho ACT_READ=$n\n", context));
    EXPECT_EQ(context.value(u"ACT_READ"_s), u"300000"_s);
}

TEST_F(ShellPluginTest, OfferedActionsAndTheirExecution)
{
    const QByteArray script =
        "case $1 in\n"
        "actions) [ -t 0 ] || cat > '" + path(u"listing-input.txt"_s).toUtf8() + "'\n"
        "   printf '  first title  \\n\\n   \\n second  one\\n'\n"
        "   env | grep -c CTX_TEXT > '" + path(u"listing-env.txt"_s).toUtf8() + "' ;;\n"
        "execute) printf '%s|' \"$#\" \"$2\" > '" + path(u"executed.txt"_s).toUtf8() + "'\n"
        "   cat >> '" + path(u"executed.txt"_s).toUtf8() + "' ;;\n"
        "esac\nexit 0\n";
    SHPluginAction prototype(writeFile(u"ToolAction.sh"_s, script));
    const ActionList offered = prototype.actionsForContext({{ACT_WORDS, u"w"_s}, {ACT_FOUND, u"WordMatch"_s}});
    ASSERT_EQ(offered.size(), 2);
    EXPECT_EQ(offered[0]->label(), u"first title"_s);
    EXPECT_EQ(offered[1]->label(), u"second  one"_s);
    EXPECT_EQ(offered[1]->name(), u"ToolAction.sh"_s);
    EXPECT_EQ(recorded(u"listing-input.txt"_s), u""_s);
    EXPECT_EQ(recorded(u"listing-env.txt"_s).trimmed(), u"0"_s);

    offered[1]->execute({{CTX_TEXT, u"selected"_s}, {ACT_WORDS, u"w"_s}}, {});
    EXPECT_EQ(recorded(u"executed.txt"_s), u"2|second  one|selected"_s);

    SHPluginAction failing(writeFile(u"FailAction.sh"_s, "echo title; exit 2\n"));
    EXPECT_TRUE(failing.actionsForContext({}).isEmpty());
}

TEST_F(ShellPluginTest, AScriptThatFloodsOrNeverEndsCannotHangTheProgram)
{
    Context context{{CTX_TEXT, QString(200000, u'x')}};
    EXPECT_TRUE(match("head -c 1048576 /dev/zero | tr '\\0' 'y'; echo\nn=$(wc -c)\necho ACT_READ=$n\n",
                      context));
    EXPECT_EQ(context.value(u"ACT_READ"_s), u"200000"_s);

    QElapsedTimer clock;
    clock.start();
    Context waiting{{CTX_TEXT, u"t"_s}};
    EXPECT_FALSE(match("echo ACT_EARLY=1\nwhile :; do sleep 1; done\n", waiting));
    EXPECT_GE(clock.elapsed(), 4900);
    EXPECT_LT(clock.elapsed(), 8000);
    EXPECT_FALSE(waiting.contains(u"ACT_EARLY"_s));
}

TEST_F(ShellPluginTest, AShellThatCannotStartFailsTheActionAndSaysWhy)
{
    // /bin/ksh cannot be taken away here: the runner it is handed stands for a machine
    // without it, and writes down what would have run.
    test::RecordingRunner runner;
    const QString script = writeFile(u"TestAction.sh"_s, "echo Title\n");
    SHPluginAction prototype(script, runner);
    EXPECT_TRUE(prototype.actionsForContext({{CTX_TEXT, u"text"_s}}).isEmpty());
    SHPluginAction action(script, runner);
    action.setLabel(u"Title"_s);
    std::optional<Outcome> outcome;
    action.execute({{CTX_TEXT, u"text"_s}}, [&](const Outcome &ended) { outcome = ended; });
    ASSERT_TRUE(outcome.has_value());
    EXPECT_FALSE(outcome->ok);
    EXPECT_EQ(outcome->message, u"TestAction.sh failed: it could not be started"_s);
    EXPECT_EQ(runner.runs(), (QStringList{u"/bin/ksh "_s + script + u" actions"_s,
                                          u"/bin/ksh "_s + script + u" execute Title"_s}));
}
