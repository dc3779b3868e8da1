#include "DesktopTest.h"

#include "platform/desktop/ClipboardPasteboard.h"

#include <QJsonArray>

using namespace glimra;
using namespace glimra::test;
using namespace Qt::StringLiterals;

class ClipboardTest : public DesktopTest
{
};

TEST_F(ClipboardTest, ThePasteboardIsTheDesktopClipboard)
{
    ClipboardPasteboard clipboard;
    clipboard.declareTypes({Pasteboard::StringType});
    clipboard.setString(u"from glimra é"_s, Pasteboard::StringType);
    EXPECT_TRUE(clipboard.ownsClipboard());
    EXPECT_EQ(xclipGet(u"clipboard"_s), u"from glimra é"_s);

    xclipSet(u"clipboard"_s, u"from xclip"_s);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !clipboard.ownsClipboard(); }, 5000));
    EXPECT_EQ(clipboard.stringValue(), u"from xclip"_s);
}

TEST_F(ClipboardTest, PastedTextOutlivesTheProgramThatPastedIt)
{
    // The paste script is the test's own: it pastes nowhere, the clipboard is what counts.
    qputenv("GLIMRA_RESOURCES", path(u"res"_s).toLocal8Bit());
    writeFile(u"res/PasteAction.scpt"_s, "#!/bin/sh\ncat > /dev/null\n", true);
    const GlimraRun run = glimra({u"match"_s, u"--text"_s, u"6*7"_s, u"--run"_s, u"paste"_s});
    qunsetenv("GLIMRA_RESOURCES");
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(xclipGet(u"clipboard"_s), u"42"_s);
    // The keeper gives way to the next program that copies.
    xclipSet(u"clipboard"_s, u"next"_s);
}

TEST_F(ClipboardTest, TheClipboardGuessReadsWhatXclipPutThere)
{
    startXterm(path());
    xclipSet(u"clipboard"_s, u"https://example.org/page"_s);
    const GlimraRun run = glimra({u"clipboard"_s, u"--json"_s});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject result = run.json();
    EXPECT_EQ(result.value(u"selectionContext"_s).toObject().value(u"CTX_TEXT"_s),
              u"https://example.org/page"_s);
    EXPECT_EQ(result.value(u"selectionContext"_s).toObject().value(u"CTX_APPID"_s), u"XTerm"_s);
    EXPECT_EQ(result.value(u"files"_s).toArray().size(), 1);
}

TEST_F(ClipboardTest, AServicesRequestGuessesTheTextItBrings)
{
    startXterm(path());
    const GlimraRun run = glimra({u"service"_s, u"--json"_s}, "6*7");
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.json().value(u"matchedContext"_s).toObject().value(u"ACT_TEXT"_s), u"42"_s);
    EXPECT_EQ(run.json().value(u"selectedTab"_s).toInt(), 1);
}
