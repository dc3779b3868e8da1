#include "foundation/OffThread.h"

#include <QCoreApplication>
#include <QSemaphore>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>

using namespace glimra;

TEST(OffThread, WorkRunsOnAWorkerWhileTheMainThreadServesItsEvents)
{
    QThread *worker = nullptr;
    int ticks = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&ticks] { ++ticks; });
    tick.start(10);
    OffThread::run([&] {
        worker = QThread::currentThread();
        QThread::msleep(200);
    });
    EXPECT_NE(worker, QCoreApplication::instance()->thread());
    EXPECT_GE(ticks, 5);

    // Off the main thread there is no event loop to serve: the work runs where it is asked.
    QThread *inner = nullptr;
    OffThread::run([&] { OffThread::run([&] { inner = QThread::currentThread(); }); });
    EXPECT_NE(inner, QCoreApplication::instance()->thread());
}

TEST(OffThread, StartedWorkReportsOnTheMainThreadUnlessItsContextIsGoneAndTooMuchIsRefused)
{
    QObject context;
    QThread *reported = nullptr;
    ASSERT_TRUE(OffThread::start([] {}, &context, [&] { reported = QThread::currentThread(); }));
    ASSERT_TRUE(QTest::qWaitFor([&] { return reported != nullptr; }, 5000));
    EXPECT_EQ(reported, QCoreApplication::instance()->thread());

    // Two pieces hold both workers; the rest wait, up to the limit.
    QSemaphore release;
    std::atomic<int> done = 0;
    auto *gone = new QObject;
    bool heardByTheGone = false;
    int started = 0;
    while (OffThread::start([&] { release.acquire(); ++done; }, gone, [&] { heardByTheGone = true; }))
        ++started;
    EXPECT_EQ(started, OffThread::MaximumQueued);
    delete gone;
    release.release(started);
    ASSERT_TRUE(QTest::qWaitFor([&] { return done == started; }, 10000));
    QCoreApplication::processEvents();
    EXPECT_FALSE(heardByTheGone);
    // Once they are done, work is taken again.
    EXPECT_TRUE(QTest::qWaitFor([&] { return OffThread::start([] {}, &context, [] {}); }, 5000));
}
