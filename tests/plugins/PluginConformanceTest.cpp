#include "TestEnvironment.h"

#include "matching/MatchingEngine.h"
#include "matching/PluginManager.h"

using namespace glimra;
using namespace Qt::StringLiterals;

// The same plug-in written for each host: it recognises "ticket-N", answers a URL for it,
// echoes the text back (UTF-8 both ways), and writes a key that is not a result.
struct HostCase
{
    const char *file;
    QByteArray script;
    QByteArray edited; // recognises "issue-N" instead
};

void PrintTo(const HostCase &host, std::ostream *out)
{
    *out << host.file;
}

namespace {

QByteArray perlScript(const char *word)
{
    return QByteArray("sub matches_context {\n"
                      "  my $t = $CONTEXT{CTX_TEXT};\n"
                      "  return 0 unless $t =~ /") + word + "-(\\d+)/;\n"
                      "  $CONTEXT{ACT_URL} = \"https://t.example/$1\";\n"
                      "  $CONTEXT{ACT_ECHO} = $t; $CONTEXT{NOT_RESULT} = 1;\n"
                      "  return 1;\n}\n";
}

QByteArray shellScript(const char *word)
{
    return QByteArray("t=$(cat)\n"
                      "case \"$t\" in\n"
                      "*") + word + "-[0-9]*) n=${t##*" + word + "-}; n=${n%%[!0-9]*}\n"
                      "  echo \"ACT_URL=https://t.example/$n\"; echo \"ACT_ECHO=$t\"; echo NOT_RESULT=1 ;;\n"
                      "*) exit 1 ;;\nesac\n";
}

QByteArray handlerScript(const char *word)
{
    return QByteArray("#!/usr/bin/perl\nuse JSON::PP;\n"
                      "my $args = JSON::PP->new->utf8->decode(join '', <STDIN>);\n"
                      "my $t = $args->[0]{CTX_TEXT} // '';\n"
                      "exit 0 unless $t =~ /") + word + "-(\\d+)/;\n"
                      "print JSON::PP->new->utf8->encode({ACT_URL => \"https://t.example/$1\",\n"
                      "  ACT_ECHO => $t, NOT_RESULT => 1});\n";
}

} // namespace

class PluginConformance : public test::IsolatedTest, public ::testing::WithParamInterface<HostCase>
{
protected:
    void SetUp() override
    {
        IsolatedTest::SetUp();
        qputenv("GLIMRA_RESOURCES", path(u"res"_s).toLocal8Bit());
        pluginFile = writeFile(userPluginsDir() + u"/"_s + QString::fromLatin1(GetParam().file),
                               GetParam().script);
        manager = test::builtInPluginManager(Platform());
        manager->loadPlugins();
    }
    void TearDown() override
    {
        manager.reset();
        qunsetenv("GLIMRA_RESOURCES");
        IsolatedTest::TearDown();
    }
    Context guess(const QString &text)
    {
        return MatchingEngine(manager.get()).matchContext({{CTX_TEXT, text}}, currentRun());
    }
    QString pluginFile;
    std::unique_ptr<PluginManager> manager;
};

TEST_P(PluginConformance, ResultKeysOfAMatchReachTheGuess)
{
    const Context result = guess(u"see ticket-42 — déjà vu"_s);
    EXPECT_EQ(result.value(ACT_URL), u"https://t.example/42"_s);
    EXPECT_EQ(result.value(u"ACT_ECHO"_s), u"see ticket-42 — déjà vu"_s);
    EXPECT_FALSE(result.contains(u"NOT_RESULT"_s));
    // The file search matcher ran after the plug-in but found nothing to look for.
    EXPECT_EQ(result.value(ACT_FOUND), QString::fromLatin1(GetParam().file));
}

TEST_P(PluginConformance, NoMatchLeavesNothingBehind)
{
    const Context result = guess(u"see\nnothing"_s);
    EXPECT_FALSE(result.contains(ACT_URL));
    EXPECT_FALSE(result.contains(u"ACT_ECHO"_s));
}

TEST_P(PluginConformance, AnEditedPluginWorksAfterARefresh)
{
    writeFile(pluginFile, GetParam().edited);
    manager->refreshPlugins();
    EXPECT_EQ(guess(u"issue-7"_s).value(ACT_URL), u"https://t.example/7"_s);
    EXPECT_FALSE(guess(u"ticket-7"_s).contains(ACT_URL));
}

INSTANTIATE_TEST_SUITE_P(
    Hosts, PluginConformance,
    ::testing::Values(HostCase{"TicketMatcher.pl", perlScript("ticket"), perlScript("issue")},
                      HostCase{"TicketMatcher.sh", shellScript("ticket"), shellScript("issue")},
                      HostCase{"TicketMatcher.scpt", handlerScript("ticket"), handlerScript("issue")}),
    [](const ::testing::TestParamInfo<HostCase> &parameter) {
        const QString file = QString::fromLatin1(parameter.param.file);
        return file.section(u'.', 1).toStdString();
    });
