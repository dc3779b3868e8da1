#include "foundation/OffThread.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>
#include <QRunnable>
#include <QSemaphore>
#include <QThread>
#include <QThreadPool>

#include <atomic>
#include <memory>

namespace glimra {

namespace {

// The workers, and the object on the main thread that hears when they are done. Made on
// first use; at exit the workers are waited for before the receiver goes.
struct Workers
{
    QObject receiver;
    QThreadPool pool;
    std::atomic<int> queued{0};

    Workers()
    {
        pool.setMaxThreadCount(2);
        if (QCoreApplication *application = QCoreApplication::instance())
            receiver.moveToThread(application->thread());
    }
    ~Workers() { pool.waitForDone(); }

    // Runs `then` on the main thread, after the worker's part.
    void post(std::function<void()> then)
    {
        QMetaObject::invokeMethod(&receiver, std::move(then), Qt::QueuedConnection);
    }
};

Workers &workers()
{
    static Workers shared;
    return shared;
}

bool onMainThread()
{
    const QCoreApplication *application = QCoreApplication::instance();
    return application && QThread::currentThread() == application->thread();
}

} // namespace

void OffThread::run(const std::function<void()> &work)
{
    if (!onMainThread())
        return work();
    Workers &shared = workers();
    auto finished = std::make_shared<QSemaphore>();
    QEventLoop loop;
    const QPointer<QEventLoop> waiting(&loop);
    shared.pool.start(QRunnable::create([&work, &shared, finished, waiting] {
        work();
        finished->release();
        shared.post([waiting] {
            if (waiting)
                waiting->quit();
        });
    }), 1);
    loop.exec();
    // Quitting the application ends every event loop: the work is still waited for (it
    // is bounded), since it refers to what the caller holds.
    finished->acquire();
}

bool OffThread::start(std::function<void()> work, QObject *context, std::function<void()> then)
{
    Workers &shared = workers();
    if (shared.queued.fetch_add(1) >= MaximumQueued) {
        --shared.queued;
        return false;
    }
    const QPointer<QObject> guard(context);
    shared.pool.start([&shared, work = std::move(work), guard, then = std::move(then)] {
        work();
        --shared.queued;
        shared.post([guard, then] {
            if (guard)
                then();
        });
    });
    return true;
}

} // namespace glimra
