#include "TestEnvironment.h"

#include "foundation/HandlerScript.h"

#include <QElapsedTimer>
#include <QJsonObject>

using namespace glimra;
using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

class HandlerScriptTest : public test::IsolatedTest
{
protected:
    std::shared_ptr<HandlerScript> load(const QByteArray &body)
    {
        return HandlerScript::initWithContentsOfFile(writeFile(u"script.scpt"_s, body));
    }
};

TEST_F(HandlerScriptTest, ResultsOfEachKind)
{
    auto script = load(
        "#!/usr/bin/perl\n"
        "use JSON::PP; my $in = decode_json(join '', <STDIN>);\n"
        "my %h = (dict => sub { {got => $in->[0]{CTX_TEXT}, n => scalar @$in} },\n"
        "         list => sub { [@$in] }, text => sub { \"h=$ARGV[0] \\x{e9}\" });\n"
        "print JSON::PP->new->utf8->allow_nonref->encode($h{$ARGV[0]}->());\n");
    ASSERT_TRUE(script);
    const QJsonArray arguments{QJsonObject{{u"CTX_TEXT"_s, u"héllo"_s}}, u"second"_s};

    const QVariant dictionary = script->executeSubroutine(u"dict"_s, arguments);
    ASSERT_EQ(dictionary.typeId(), QMetaType::QVariantMap);
    EXPECT_EQ(dictionary.toMap().value(u"got"_s).toString(), u"héllo"_s);
    EXPECT_EQ(dictionary.toMap().value(u"n"_s).toInt(), 2);

    const QVariant list = script->executeSubroutine(u"list"_s, arguments);
    ASSERT_EQ(list.typeId(), QMetaType::QVariantList);
    EXPECT_EQ(list.toList().value(1).toString(), u"second"_s);

    const QVariant text = script->executeSubroutine(u"text"_s, arguments);
    EXPECT_EQ(text.toString(), u"h=text é"_s);
}

TEST_F(HandlerScriptTest, FailingSilentMalformedAndOverrunningScriptsGiveNil)
{
    const QByteArray bodies[] = {
        "#!/bin/sh\necho '{\"a\":\"b\"}'; exit 1\n", // non-zero status
        "#!/bin/sh\nexit 0\n",                      // no output
        "#!/bin/sh\necho null\n",                   // null
        "#!/bin/sh\necho 'not json'\n",             // not JSON
        "#!/bin/sh\necho '1, 2'\n",                 // two values
        "#!/no/such/interpreter\n",                 // cannot run
    };
    for (const QByteArray &body : bodies) {
        auto script = load(body);
        ASSERT_TRUE(script) << body.constData();
        EXPECT_FALSE(script->executeSubroutine(u"h"_s, {}).isValid()) << body.constData();
    }
    auto slow = load("#!/bin/sh\nsleep 30\necho '\"late\"'\n");
    slow->setTimeout(500ms);
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(slow->executeSubroutine(u"h"_s, {}).isValid());
    EXPECT_LT(clock.elapsed(), 5000);
}

TEST_F(HandlerScriptTest, OnlyFilesWithAnInterpreterLineLoad)
{
    EXPECT_FALSE(HandlerScript::initWithContentsOfFile(path(u"missing.scpt"_s)));
    EXPECT_FALSE(load(""));
    EXPECT_FALSE(load(QByteArray("FasdUAS 1.101.10\x00\x01 compiled", 27)));
    EXPECT_FALSE(load("#!\n"));
    EXPECT_FALSE(HandlerScript::initWithContentsOfFile(path()));
}

TEST_F(HandlerScriptTest, TheLoadedScriptIsASnapshot)
{
    auto script = load("#!/bin/sh\necho '\"first\"'\n");
    ASSERT_TRUE(script);
    writeFile(u"script.scpt"_s, "#!/bin/sh\necho '\"second\"'\n");
    EXPECT_EQ(script->executeSubroutine(u"h"_s, {}).toString(), u"first"_s);
    EXPECT_EQ(load("#!/bin/sh\necho \"$GLIMRA_SCRIPT_FILE\" | sed 's/.*/\"&\"/'\n")
                  ->executeSubroutine(u"h"_s, {})
                  .toString(),
              path(u"script.scpt"_s));
}
