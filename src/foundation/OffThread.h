#pragma once

#include <QObject>

#include <functional>

namespace glimra {

/// Work that must not hold up the thread that serves the desktop and the bus (a user's
/// regular expression over a long text) runs on a few worker threads of its own. The work
/// itself must be bounded in time: nothing here can stop it.
class OffThread
{
public:
    /// How many pieces of work may run or wait at once in start(); more are refused, so
    /// that a flood of requests is answered at once rather than after minutes.
    static constexpr int MaximumQueued = 16;

    /// Runs `work` on a worker thread and returns when it has ended. On the main thread
    /// the event loop runs meanwhile (other requests, the panel, the bus are served);
    /// anywhere else, or without an application object, `work` runs here. It goes before
    /// any work start() queued: a guess waits for nobody's requests.
    static void run(const std::function<void()> &work);

    /// Starts `work` on a worker thread and returns at once; `then` runs afterwards on the
    /// thread of `context`, unless `context` is gone by then. False, with nothing started,
    /// when MaximumQueued pieces are running or waiting already.
    static bool start(std::function<void()> work, QObject *context, std::function<void()> then);
};

} // namespace glimra
