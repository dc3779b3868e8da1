#include "TestEnvironment.h"

#include "plugins/HandlerScriptAction.h"
#include "plugins/HandlerScriptMatcher.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

using namespace glimra;
using namespace Qt::StringLiterals;

class HandlerScriptPluginTest : public test::IsolatedTest
{
protected:
    // A handler script that answers `answer` (JSON) to every handler.
    QString answering(const QString &name, const QByteArray &answer)
    {
        return writeFile(name, "#!/bin/sh\ncat > /dev/null\necho '" + answer + "'\n");
    }
    bool match(const QByteArray &answer, Context &context)
    {
        HandlerScriptMatcher matcher(answering(u"TestMatcher.scpt"_s, answer));
        EXPECT_EQ(matcher.name(), u"TestMatcher.scpt"_s);
        return matcher.matches(context);
    }
};

TEST_F(HandlerScriptPluginTest, MatchesContextAnswersAnObjectOfResults)
{
    Context context{{CTX_TEXT, u"t"_s}};
    EXPECT_TRUE(match(R"({"ACT_URL": "https://x.org", "CTX_TEXT": "no", "N": 1})", context));
    EXPECT_EQ(context, (Context{{CTX_TEXT, u"t"_s}, {ACT_URL, u"https://x.org"_s}}));

    Context unchanged{{CTX_TEXT, u"t"_s}};
    EXPECT_TRUE(match(R"({"CTX_TEXT": "other"})", unchanged));
    EXPECT_EQ(unchanged, (Context{{CTX_TEXT, u"t"_s}}));
    for (const char *answer : {"{}", "null", "true", "[\"ACT_X\"]", "\"text\""})
        EXPECT_FALSE(match(answer, unchanged)) << answer;
    EXPECT_EQ(unchanged, (Context{{CTX_TEXT, u"t"_s}}));
}

TEST_F(HandlerScriptPluginTest, OfferedActionsShareTheScriptAndRunTheirTitle)
{
    const QString log = path(u"executed.json"_s);
    const QString file = writeFile(
        u"ToolAction.scpt"_s,
        "#!/bin/sh\ncase $1 in\n"
        "matched_actions) cat > /dev/null; echo '[\"one\", \" two \", \"three\"]' ;;\n"
        "execute_action) cat > '" + log.toUtf8() + "' ;;\nesac\n");
    HandlerScriptAction prototype(file);
    EXPECT_EQ(prototype.name(), u"ToolAction.scpt"_s);
    const ActionList offered = prototype.actionsForContext({{ACT_WORDS, u"w"_s}});
    ASSERT_EQ(offered.size(), 3);
    EXPECT_EQ(offered[1]->label(), u" two "_s); // titles are used as given
    EXPECT_EQ(offered[1]->name(), u"ToolAction.scpt"_s);
    EXPECT_TRUE(offered[1]->scriptFile().isNull());

    QFile::remove(file); // the offered actions run the loaded script, not the file
    offered[1]->execute({{CTX_TEXT, u"sel"_s}}, {});
    QFile executed(log);
    ASSERT_TRUE(executed.open(QIODevice::ReadOnly));
    EXPECT_EQ(QJsonDocument::fromJson(executed.readAll()).array(),
              (QJsonArray{u" two "_s, QJsonObject{{u"CTX_TEXT"_s, u"sel"_s}}}));
}

TEST_F(HandlerScriptPluginTest, WrongKindsAndUnloadableFilesOfferNothing)
{
    for (const char *answer : {"[]", "{\"a\": 1}", "null", "\"one\""}) {
        HandlerScriptAction prototype(answering(u"AAction.scpt"_s, answer));
        EXPECT_TRUE(prototype.actionsForContext({}).isEmpty()) << answer;
    }
    const QString compiled = writeFile(u"OldAction.scpt"_s, QByteArray("FasdUAS 1.101.10\0", 17));
    HandlerScriptAction action(compiled);
    EXPECT_TRUE(action.actionsForContext({}).isEmpty());
    action.execute({}, {});
    HandlerScriptMatcher matcher(compiled);
    Context context{{CTX_TEXT, u"t"_s}};
    EXPECT_FALSE(matcher.matches(context));
}
