#include "TestEnvironment.h"

#include "foundation/ProcessRunner.h"
#include "foundation/Shell.h"

#include <QElapsedTimer>
#include <QFile>

#include <signal.h>

using namespace glimra;
using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

class ProcessRunnerTest : public test::IsolatedTest
{
};

TEST_F(ProcessRunnerTest, ExitStatusAndStandardErrorAreKeptApart)
{
    ProcessRequest request;
    request.program = test::fixture(u"exit-status.sh"_s);
    request.arguments = {u"3"_s};
    ProcessResult result = ProcessRunner::run(request);
    EXPECT_TRUE(result.started);
    EXPECT_TRUE(result.normalExit);
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_FALSE(result.succeeded());
    EXPECT_EQ(result.standardOutput, "out\n");
    EXPECT_EQ(result.standardError, "err\n");

    request.arguments = {u"0"_s};
    EXPECT_TRUE(ProcessRunner::run(request).succeeded());
}

TEST_F(ProcessRunnerTest, TheEnvironmentIsExactlyWhatWasGiven)
{
    ProcessRequest request;
    request.program = u"/usr/bin/env"_s;
    request.environment = QStringList{u"ONLY=this"_s, u"ALSO=a=b"_s};
    const ProcessResult result = ProcessRunner::run(request);
    QStringList lines = QString::fromUtf8(result.standardOutput).split(u'\n', Qt::SkipEmptyParts);
    lines.sort();
    EXPECT_EQ(lines, (QStringList{u"ALSO=a=b"_s, u"ONLY=this"_s}));
}

TEST_F(ProcessRunnerTest, AChildThatFloodsItsOutputBeforeReadingNeverHangsUs)
{
    ProcessRequest request;
    request.program = test::fixture(u"flood-before-read.sh"_s);
    request.input = QByteArray(300000, 'i');
    request.timeout = 20s;
    const ProcessResult result = ProcessRunner::run(request);
    ASSERT_TRUE(result.succeeded());
    EXPECT_EQ(result.standardOutput.size(), 1048576 + 1 + 7);
    EXPECT_TRUE(result.standardOutput.endsWith("300000\n"));
}

TEST_F(ProcessRunnerTest, AnOverrunKillsTheWholeProcessGroup)
{
    const QString pidFile = path(u"child.pid"_s);
    for (const bool eventLoop : {false, true}) {
        ProcessRequest request;
        request.program = test::fixture(u"hang.sh"_s);
        request.arguments = {pidFile};
        request.timeout = 700ms;
        request.keepEventLoopRunning = eventLoop;
        QElapsedTimer clock;
        clock.start();
        const ProcessResult result = ProcessRunner::run(request);
        EXPECT_TRUE(result.timedOut);
        EXPECT_FALSE(result.succeeded());
        EXPECT_GE(clock.elapsed(), 650);
        EXPECT_LT(clock.elapsed(), 5000);

        QFile file(pidFile);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const pid_t grandchild = pid_t(file.readAll().trimmed().toInt());
        ASSERT_GT(grandchild, 0);
        // The grandchild was in the same group: it is gone (or a zombie awaiting init).
        bool gone = false;
        for (int i = 0; i < 100 && !gone; ++i) {
            QFile status(u"/proc/%1/stat"_s.arg(grandchild));
            gone = !status.open(QIODevice::ReadOnly) || status.readAll().contains(") Z");
            if (!gone)
                usleep(20000);
        }
        EXPECT_TRUE(gone) << "sleep " << grandchild << " survived";
    }
}

TEST_F(ProcessRunnerTest, AChildThatPrintsTooMuchIsStoppedAsAnOverrun)
{
    for (const bool eventLoop : {false, true}) {
        ProcessRequest request;
        request.program = u"/bin/sh"_s;
        request.arguments = {u"-c"_s, u"exec cat /dev/zero"_s};
        request.maximumOutput = 1024 * 1024;
        request.timeout = 20s;
        request.keepEventLoopRunning = eventLoop;
        QElapsedTimer clock;
        clock.start();
        const ProcessResult result = ProcessRunner::run(request);
        EXPECT_TRUE(result.overflowed);
        EXPECT_TRUE(result.timedOut);
        EXPECT_FALSE(result.succeeded());
        EXPECT_TRUE(result.standardOutput.isEmpty());
        EXPECT_LT(clock.elapsed(), 10000);
    }
}

TEST_F(ProcessRunnerTest, AProgramThatCannotStartGivesNoResult)
{
    ProcessRequest request;
    request.program = u"/nonexistent/program"_s;
    const ProcessResult result = ProcessRunner::run(request);
    EXPECT_FALSE(result.started);
    EXPECT_FALSE(result.succeeded());
}

// The output of a program piped through, as /bin/sh -c COMMAND with INPUT.
static QString piped(const QString &input, const QString &command, std::chrono::milliseconds timeout)
{
    return pipe_program(ProgramRunner::standard(), input, u"/bin/sh"_s, {u"-c"_s, command}, timeout);
}

TEST_F(ProcessRunnerTest, APipedProgramLosesItsFinalLineBreakAndGivesNilForNothing)
{
    EXPECT_EQ(piped(u"a\nb\n"_s, u"cat"_s, 5s), u"a\nb"_s);
    EXPECT_EQ(piped({}, u"printf 'x\\n\\n'"_s, 5s), u"x\n"_s);
    EXPECT_TRUE(piped({}, u"true"_s, 5s).isNull());
    EXPECT_TRUE(piped({}, u"echo late; sleep 5"_s, 300ms).isNull());
}

TEST_F(ProcessRunnerTest, ShellQuotingKeepsEveryCharacter)
{
    const QString folder = u"it's a \"dir\" $HOME `x` \\ ;"_s;
    EXPECT_EQ(piped({}, u"printf '%s' "_s + shellQuote(folder), 5s), folder);
}

TEST_F(ProcessRunnerTest, StreamedOutputArrivesInPiecesAndACancelledRunIsKilled)
{
    ProcessRequest request;
    request.program = u"/bin/sh"_s;
    request.arguments = {u"-c"_s, u"head -c 3000000 /dev/zero; sleep 30"_s};
    request.timeout = 20s;
    std::atomic<bool> cancelled = false;
    request.cancelled = &cancelled;
    qint64 received = 0;
    request.onStandardOutput = [&](const QByteArray &chunk) {
        received += chunk.size();
        if (received >= 3000000)
            cancelled = true; // as another thread would
    };
    QElapsedTimer clock;
    clock.start();
    const ProcessResult result = ProcessRunner::run(request);
    EXPECT_EQ(received, 3000000);
    EXPECT_TRUE(result.cancelled);
    EXPECT_FALSE(result.timedOut);
    EXPECT_FALSE(result.succeeded());
    EXPECT_TRUE(result.standardOutput.isEmpty());
    EXPECT_LT(clock.elapsed(), 10000);
}
