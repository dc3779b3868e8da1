// The pieces of the Wayland client that work without a compositor: the pipes a selection
// travels through, and the refusal to connect where no Wayland session is.
#include "desktop/wayland/PipeReader.h"
#include "desktop/wayland/PipeWriter.h"
#include "desktop/wayland/WaylandSession.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace glimra {

namespace {

using namespace std::chrono_literals;

struct Pipe
{
    int read = -1, write = -1;
    Pipe()
    {
        int fds[2];
        EXPECT_EQ(::pipe2(fds, O_CLOEXEC), 0);
        read = fds[0];
        write = fds[1];
    }
};

TEST(PipeReader, ReadsToTheEndWithinItsDeadlineAndCap)
{
    // What the writer hands over, and whether it closes its end.
    struct Case
    {
        const char *name;
        QByteArray data;
        bool close;
        qsizetype maximum;
        PipeReader::Status status;
    } cases[] = {
        {"a writer that closes gives everything", QByteArray("a\0b\xff\n", 5), true, 100, PipeReader::Status::Complete},
        {"nothing at all is complete and empty", {}, true, 100, PipeReader::Status::Complete},
        {"exactly the cap passes", QByteArray(100, 'x'), true, 100, PipeReader::Status::Complete},
        {"one byte past the cap stops", QByteArray(101, 'x'), true, 100, PipeReader::Status::TooLarge},
        {"a writer that never closes runs into the deadline", QByteArray("partial"), false, 100, PipeReader::Status::TimedOut},
    };
    for (const Case &c : cases) {
        Pipe pipe;
        ASSERT_EQ(::write(pipe.write, c.data.constData(), size_t(c.data.size())), c.data.size());
        if (c.close)
            ::close(pipe.write);
        QElapsedTimer clock;
        clock.start();
        const PipeReader::Result result = PipeReader::readAll(pipe.read, QDeadlineTimer(200ms), c.maximum);
        EXPECT_EQ(result.status, c.status) << c.name;
        if (c.status == PipeReader::Status::Complete) {
            EXPECT_EQ(result.data, c.data) << c.name;
        }
        if (c.status == PipeReader::Status::TimedOut) {
            EXPECT_GE(clock.elapsed(), 200) << c.name;
        }
        if (!c.close)
            ::close(pipe.write);
    }
}

TEST(PipeWriter, HandsOverMoreThanAPipeHoldsWithoutWaiting)
{
    Pipe pipe;
    QByteArray data(4 * 1024 * 1024, '\0');
    for (qsizetype i = 0; i < data.size(); ++i)
        data[i] = char(i * 7);
    PipeWriter::start(pipe.write, data, 5s);
    // The writer is on its way in the background; the reader takes it all.
    const PipeReader::Result result = PipeReader::readAll(pipe.read, QDeadlineTimer(10s), data.size());
    EXPECT_EQ(result.status, PipeReader::Status::Complete);
    EXPECT_TRUE(result.data == data);
}

TEST(PipeWriter, SurvivesAReaderThatGoesAway)
{
    // No SIGPIPE may reach the program (its default ends it).
    Pipe pipe;
    ::close(pipe.read);
    PipeWriter::start(pipe.write, QByteArray(1024 * 1024, 'x'), 1s);
    bool done = false;
    QTimer::singleShot(100ms, [&done] { done = true; });
    while (!done)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    sigset_t pending;
    sigpending(&pending);
    EXPECT_FALSE(sigismember(&pending, SIGPIPE));
    // A reader that stops reading is given up on: the writer ends by its time bound.
    Pipe stalled;
    PipeWriter::start(stalled.write, QByteArray(1024 * 1024, 'x'), 100ms);
    done = false;
    QTimer::singleShot(300ms, [&done] { done = true; });
    while (!done)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    char byte;
    qsizetype total = 0;
    ::fcntl(stalled.read, F_SETFL, O_NONBLOCK);
    ssize_t n;
    while ((n = ::read(stalled.read, &byte, 1)) > 0)
        total += n;
    EXPECT_EQ(n, 0) << "the writer closed its end";
    EXPECT_LT(total, 1024 * 1024);
    ::close(stalled.read);
}

TEST(WaylandSession, ConnectsOnlyWhereAWaylandSessionIs)
{
    struct Case
    {
        const char *name;
        const char *sessionType;
        const char *display;
        QString problem;
    } cases[] = {
        {"an X11 session never connects", "x11", "wayland-0", QStringLiteral("this is an X11 session")},
        {"no compositor named", "wayland", nullptr, QStringLiteral("no Wayland compositor ($WAYLAND_DISPLAY is not set)")},
    };
    const QByteArray savedType = qgetenv("XDG_SESSION_TYPE"), savedDisplay = qgetenv("WAYLAND_DISPLAY");
    for (const Case &c : cases) {
        qputenv("XDG_SESSION_TYPE", c.sessionType);
        if (c.display)
            qputenv("WAYLAND_DISPLAY", c.display);
        else
            qunsetenv("WAYLAND_DISPLAY");
        QString problem;
        EXPECT_EQ(WaylandSession::connectToSession(&problem), nullptr) << c.name;
        EXPECT_EQ(problem, c.problem) << c.name;
    }
    for (const auto &[name, value] : {std::pair{"XDG_SESSION_TYPE", savedType}, std::pair{"WAYLAND_DISPLAY", savedDisplay}}) {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }

    QString problem;
    EXPECT_EQ(WaylandSession::connectTo(QStringLiteral("/nonexistent/wayland-socket"), &problem), nullptr);
    EXPECT_TRUE(problem.startsWith(QStringLiteral("cannot connect to the Wayland compositor at /nonexistent/wayland-socket")))
        << problem.toStdString();
}

} // namespace

} // namespace glimra
