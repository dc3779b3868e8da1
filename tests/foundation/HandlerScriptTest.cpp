#include "TestEnvironment.h"

#include "foundation/HandlerScript.h"
#include "foundation/ProcessRunner.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>

using namespace glimra;
using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

class HandlerScriptTest : public test::IsolatedTest
{
protected:
    std::shared_ptr<HandlerScript> load(const QByteArray &body)
    {
        return HandlerScript::load(writeFile(u"script.scpt"_s, body));
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

    const QVariant dictionary = script->call(u"dict"_s, arguments);
    ASSERT_EQ(dictionary.typeId(), QMetaType::QVariantMap);
    EXPECT_EQ(dictionary.toMap().value(u"got"_s).toString(), u"héllo"_s);
    EXPECT_EQ(dictionary.toMap().value(u"n"_s).toInt(), 2);

    const QVariant list = script->call(u"list"_s, arguments);
    ASSERT_EQ(list.typeId(), QMetaType::QVariantList);
    EXPECT_EQ(list.toList().value(1).toString(), u"second"_s);

    const QVariant text = script->call(u"text"_s, arguments);
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
        EXPECT_FALSE(script->call(u"h"_s, {}).isValid()) << body.constData();
    }
    auto slow = load("#!/bin/sh\nsleep 30\necho '\"late\"'\n");
    slow->setTimeout(500ms);
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(slow->call(u"h"_s, {}).isValid());
    EXPECT_LT(clock.elapsed(), 5000);
}

TEST_F(HandlerScriptTest, OnlyFilesWithAnInterpreterLineLoad)
{
    EXPECT_FALSE(HandlerScript::load(path(u"missing.scpt"_s)));
    EXPECT_FALSE(load(""));
    EXPECT_FALSE(load(QByteArray("FasdUAS 1.101.10\x00\x01 compiled", 27)));
    EXPECT_FALSE(load("#!\n"));
    EXPECT_FALSE(HandlerScript::load(path()));
}

TEST_F(HandlerScriptTest, TheLoadedScriptIsASnapshot)
{
    auto script = load("#!/bin/sh\necho '\"first\"'\n");
    ASSERT_TRUE(script);
    writeFile(u"script.scpt"_s, "#!/bin/sh\necho '\"second\"'\n");
    EXPECT_EQ(script->call(u"h"_s, {}).toString(), u"first"_s);
    EXPECT_EQ(load("#!/bin/sh\necho \"$GLIMRA_SCRIPT_FILE\" | sed 's/.*/\"&\"/'\n")
                  ->call(u"h"_s, {})
                  .toString(),
              path(u"script.scpt"_s));
}

// The shipped Perl module reads the arguments and writes the answer itself: every kind of
// JSON value comes back as it went in, and arguments that are not one JSON array make the
// script fail (no answer) rather than guess.
TEST_F(HandlerScriptTest, ThePerlModuleReadsAndWritesJsonValuesExactly)
{
    const QString script = writeFile(u"echo.scpt"_s,
                                     "#!/usr/bin/perl\nuse strict;\nuse warnings;\n"
                                     "use lib '" GLIMRA_SOURCE_RESOURCES "/perl5';\n"
                                     "use Glimra::Handlers;\n"
                                     "my $compared = '12345678901234567890';\n"
                                     "my $positive = $compared > 0;\n"
                                     "Glimra::Handlers::run(echo => sub { [@_] },\n"
                                     "    bytes => sub { [\"caf\\xe9\", \"caf\\xc3\\xa9\", $compared] });\n",
                                     true);
    const struct
    {
        QByteArray arguments;
        const char *answer; // null: the script fails
    } rows[] = {
        {R"(["plain", "\" \\ \/ \b\f\n\r\t", "\u00e9\u20AC", "\ud83d\ude00", "é€😀"])",
         R"(["plain", "\" \\ / \b\f\n\r\t", "é€", "😀", "é€😀"])"},
        {"[0, -1, 2.5, -1.25e2, 1E3, 12345678]", "[0, -1, 2.5, -125, 1000, 12345678]"},
        {R"(["42", "007", "1e3", ""])", R"(["42", "007", "1e3", ""])"}, // texts stay texts
        {"[true, false, null]", "[true, false, null]"},
        {R"([{"a": [1, {"b": []}], "": "empty name", "é": {}}])",
         R"([{"a": [1, {"b": []}], "": "empty name", "é": {}}])"},
        {" \n [ 1 , \"x\" ] \n", R"([1, "x"])"},
        {"", "[]"},
        {"[1,]", nullptr},
        {R"({"a": 1})", nullptr},
        {R"(["\ud800"])", nullptr},
        {R"(["\udc00\ud800"])", nullptr},
        {R"(["\x"])", nullptr},
        {"[01]", nullptr},
        {"[\"a\tb\"]", nullptr},
        {"[1] 2", nullptr},
        {"[\"\xff\"]", nullptr},
        {"[tru]", nullptr},
    };
    for (const auto &row : rows) {
        ProcessRequest request;
        request.program = script;
        request.arguments = {u"echo"_s};
        request.input = row.arguments;
        const ProcessResult result = ProcessRunner::run(request);
        if (!row.answer) {
            EXPECT_FALSE(result.succeeded()) << row.arguments.constData();
            EXPECT_TRUE(result.standardOutput.isEmpty()) << row.arguments.constData();
            continue;
        }
        EXPECT_TRUE(result.succeeded()) << row.arguments.constData() << result.standardError.constData();
        EXPECT_EQ(QJsonDocument::fromJson(result.standardOutput), QJsonDocument::fromJson(row.answer))
            << row.arguments.constData() << " gave " << result.standardOutput.constData();
    }
    // What programs print: bytes in UTF-8 or else Latin-1, and a text that was only
    // compared as a number, which stays a text.
    const std::shared_ptr<HandlerScript> loaded = HandlerScript::load(script);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->call(u"bytes"_s, {}).toStringList(),
              (QStringList{u"café"_s, u"café"_s, u"12345678901234567890"_s}));
}
