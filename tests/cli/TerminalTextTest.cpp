#include "GlimraProcess.h"
#include "TestEnvironment.h"

#include "cli/TerminalText.h"

using namespace glimra;
using namespace glimra::test;
using namespace Qt::StringLiterals;

class TerminalTextTest : public IsolatedTest
{
};

TEST_F(TerminalTextTest, ControlCharactersAreEscapedAndEverythingElsePasses)
{
    const struct
    {
        QByteArray raw;
        QByteArray shown;
    } rows[] = {
        {"plain text, tabs\tand lines\n", "plain text, tabs\tand lines\n"},
        {"\x1b]0;title\x07", "\\x1b]0;title\\x07"},          // sets the terminal's title
        {QByteArray("\x1b[2J\r\x7f\x00", 7), "\\x1b[2J\\x0d\\x7f\\x00"},
        {"\xc2\x9b" "31m", "\\u009b31m"},                    // the 8-bit CSI, as UTF-8
        {"caf\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac \xc2\xa0", "caf\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac \xc2\xa0"},
    };
    for (const auto &row : rows)
        EXPECT_EQ(TerminalText::escaped(row.raw), row.shown) << row.raw.toStdString();
}

TEST_F(TerminalTextTest, OnATerminalTheCommandLineNeverWritesControlCharactersRawButJsonStaysExact)
{
    const QString hostile = u"see \x1b]0;pwned\x07 \u009b2J"_s;
    const GlimraRun plain = runGlimraOnTerminal({u"match"_s, u"--text"_s, hostile});
    EXPECT_EQ(plain.exitCode, 0) << plain.out.toStdString();
    EXPECT_TRUE(plain.out.startsWith(u"looks like a text (see \\x1b]0;pwned\\x07 \\u009b2J"_s)) << plain.out.toStdString();
    EXPECT_FALSE(plain.out.contains(u'\x1b'));
    EXPECT_FALSE(plain.out.contains(QChar(0x9b)));

    const GlimraRun words = runGlimraOnTerminal({u"regexp"_s, u"split"_s, u"a\x1b[31mb"_s, u"|"_s});
    EXPECT_EQ(words.out, u"a\\x1b[31mb\n"_s);

    const GlimraRun json = runGlimraOnTerminal({u"match"_s, u"--json"_s, u"--text"_s, hostile});
    EXPECT_TRUE(json.out.contains(u"\"CTX_TEXT\": \"see \\u001b]0;pwned\\u0007 \u009b2J\""_s)) << json.out.toStdString();

    // Through a pipe, what the text holds is written as it is.
    const GlimraRun piped = runGlimra({u"regexp"_s, u"split"_s, u"a\x1b[31mb"_s, u"|"_s});
    EXPECT_EQ(piped.out, u"a\x1b[31mb\n"_s);
}
