#include "DesktopTest.h"

using namespace glimra::test;
using namespace Qt::StringLiterals;

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
