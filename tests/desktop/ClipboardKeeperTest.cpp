#include "RecordingRunner.h"
#include "TestEnvironment.h"

#include "cli/ClipboardKeeper.h"
#include "platform/MemoryClipboard.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>

using namespace glimra;
using namespace Qt::StringLiterals;

namespace {

/// A clipboard in memory that says this process owns the desktop's clipboard.
class OwnedClipboard : public MemoryClipboard
{
public:
    bool isOwnedHere() const override { return true; }
};

} // namespace

class ClipboardKeeperTest : public test::IsolatedTest
{
};

// The keeper is a launch like any program started for the user; one that cannot be started
// leaves no copy of the clipboard behind and is not waited for.
TEST_F(ClipboardKeeperTest, AKeeperThatCannotStartLeavesNoFileAndIsNotWaitedFor)
{
    qputenv("TMPDIR", path().toLocal8Bit());
    OwnedClipboard clipboard;
    clipboard.setText(u"kept"_s);
    test::RecordingRunner runner;
    runner.launchFailure = u"no such program"_s;
    QElapsedTimer timer;
    timer.start();
    ClipboardKeeper::handOver(clipboard, runner);
    EXPECT_LT(timer.elapsed(), 2000);
    ASSERT_EQ(runner.launches.size(), 1);
    EXPECT_TRUE(runner.launches[0].startsWith(QCoreApplication::applicationFilePath() + u" clipboard-keeper "_s + path()))
        << runner.launches[0].toStdString();
    EXPECT_EQ(QDir(path()).entryList({u"glimra-clipboard-*"_s}), QStringList{});
    qunsetenv("TMPDIR");
}
