#include "DesktopTest.h"

#include <QFile>
#include <QStandardPaths>

using namespace glimra::test;
using namespace Qt::StringLiterals;

namespace {

QByteArray contents(const QString &file)
{
    QFile reader(file);
    return reader.open(QIODevice::ReadOnly) ? reader.readAll() : QByteArray();
}

} // namespace

class SelectionGuessTest : public DesktopTest
{
};

TEST_F(SelectionGuessTest, TheSelectedTextArrivesExactlyAsTheTerminalGaveIt)
{
    startXterm(path());
    for (const QString &text : {u"héllo"_s, u"漢字とかな"_s, u"done 🙂"_s, u"second line\n"_s,
                                u"two\nlines\n\n"_s}) {
        xclipSet(u"primary"_s, text);
        // Text that matches nothing ends with status 1, and the guess is printed all the same.
        const GlimraRun run = glimra({u"guess"_s, u"--json"_s});
        EXPECT_EQ(run.json().value(u"selectionContext"_s).toObject().value(u"CTX_TEXT"_s).toString(), text)
            << text.toStdString() << run.err.toStdString();
    }
}

TEST_F(SelectionGuessTest, AnEmptySelectionNeverInterruptsTheProgramInATerminal)
{
    if (QStandardPaths::findExecutable(u"stterm"_s).isEmpty())
        GTEST_SKIP() << "stterm is not installed (dev.sh installs it)";
    // st: a terminal that no class name gives away.
    const QString signalLog = path(u"signals"_s);
    startTerminal(u"stterm"_s, path(),
                  u"trap 'echo INT >> signals' INT; trap 'echo QUIT >> signals' QUIT; "
                  "while :; do sleep 1; done"_s);
    xclipSet(u"primary"_s, u""_s);
    glimra({u"guess"_s});
    // ctrl+\ reaches the terminal after any key the guess sent: once its QUIT is logged, an
    // interrupt sent before it would be too.
    output(u"/usr/bin/xdotool"_s, {u"key"_s, u"ctrl+backslash"_s});
    ASSERT_TRUE(QTest::qWaitFor([&] { return contents(signalLog).contains("QUIT"); }, 10000));
    EXPECT_EQ(contents(signalLog), "QUIT\n");
}

TEST_F(SelectionGuessTest, AnEmptySelectionInAnyOtherWindowIsCopiedWithTheCopyKeystroke)
{
    CopyingWindow window;
    window.resize(200, 100);
    window.show();
    window.requestActivate();
    waitUntilActive(QCoreApplication::applicationPid());
    xclipSet(u"primary"_s, u""_s);
    const GlimraRun run = glimra({u"guess"_s, u"--json"_s});
    EXPECT_EQ(run.json().value(u"selectionContext"_s).toObject().value(u"CTX_TEXT"_s).toString(),
              u"selected in the window"_s)
        << run.err.toStdString();
}
