#include "TestEnvironment.h"

#include "foundation/ExitCleanup.h"
#include "foundation/Launcher.h"
#include "foundation/ProcessJob.h"
#include "foundation/ShellCommand.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <optional>

#include <signal.h>

using namespace glimra;
using namespace glimra::test;
using namespace Qt::StringLiterals;

class LauncherTest : public IsolatedTest
{
protected:
    Outcome launch(const QString &program, const QStringList &arguments = {},
                   const Launcher::StatusMeaning &meaning = {})
    {
        std::optional<Outcome> outcome;
        Launcher::launch(program, arguments, path(), [&](const Outcome &ended) { outcome = ended; }, meaning);
        EXPECT_TRUE(QTest::qWaitFor([&] { return outcome.has_value(); }, 10000));
        return outcome.value_or(Outcome::failure(u"never heard"_s));
    }
};

TEST_F(LauncherTest, AProgramThatFailsAtOnceSaysWhyAndOneThatRunsOnIsReleasedNeverKilled)
{
    EXPECT_TRUE(launch(u"/bin/true"_s).ok);
    const Outcome failed = launch(u"/bin/sh"_s, {u"-c"_s, u"exit 3"_s}, [](int status) {
        return status == 3 ? "no application is set up to open it" : nullptr;
    });
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(failed.message, u"/bin/sh exited with status 3: no application is set up to open it"_s);
    EXPECT_EQ(launch(u"/bin/sh"_s, {u"-c"_s, u"exit 4"_s}).message, u"/bin/sh exited with status 4"_s);
    EXPECT_TRUE(launch(path(u"missing"_s)).message.startsWith(path(u"missing"_s) + u" could not be started"_s));

    // Still running when the wait is over: it works, and it is let go.
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(launch(u"/bin/sh"_s, {u"-c"_s, u"echo $$ > '%1'; exec sleep 30"_s.arg(path(u"pid"_s))}).ok);
    EXPECT_GE(clock.elapsed(), Launcher::LaunchWait.count() - 50);
    const qint64 pid = pidWrittenTo(path(u"pid"_s));
    EXPECT_TRUE(processAlive(pid));
    // Ending every child of ours at quit leaves it running.
    ExitCleanup::endChildren();
    QTest::qWait(100);
    EXPECT_TRUE(processAlive(pid));
    ::kill(pid_t(pid), SIGKILL);
}

TEST_F(LauncherTest, AJobRunsInTheBackgroundAndItsGroupEndsWithItOrAtQuit)
{
    // Heard later, with what it printed, while the event loop runs.
    std::optional<ProcessResult> result;
    ProcessJob::start(ShellCommand::request(u"pwd; echo x >&2"_s, path()), [&](const ProcessResult &ended) { result = ended; });
    EXPECT_FALSE(result);
    ASSERT_TRUE(QTest::qWaitFor([&] { return result.has_value(); }, 5000));
    EXPECT_TRUE(result->succeeded());
    EXPECT_EQ(ShellCommand::output(*result), path());

    // Overrun: killed with the child it started.
    ProcessRequest hanging;
    hanging.program = fixture(u"hang.sh"_s);
    hanging.arguments = {path(u"child"_s)};
    hanging.timeout = std::chrono::milliseconds(500);
    result.reset();
    ProcessJob::start(hanging, [&](const ProcessResult &ended) { result = ended; });
    const qint64 child = pidWrittenTo(path(u"child"_s));
    ASSERT_TRUE(QTest::qWaitFor([&] { return result.has_value(); }, 5000));
    EXPECT_TRUE(result->timedOut);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !processAlive(child); }, 2000));

    // Quitting ends what a job started, at once, though its bound is far off.
    hanging.timeout = std::chrono::seconds(60);
    hanging.arguments = {path(u"child2"_s)};
    result.reset();
    ProcessJob::start(hanging, [&](const ProcessResult &ended) { result = ended; });
    const qint64 second = pidWrittenTo(path(u"child2"_s));
    ASSERT_TRUE(processAlive(second));
    QElapsedTimer clock;
    clock.start();
    ExitCleanup::endChildren();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !processAlive(second) && result.has_value(); }, 2000));
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_FALSE(result->succeeded());
}
