#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include <pthread.h>
#include <sys/types.h>

namespace glimra {

/// Bounds calls into script code that runs on the calling thread (the embedded Perl), one
/// call at a time. At the call's deadline a watchdog thread raises expired() (the script
/// host checks it between two operations of the script and leaves the call), kills every
/// process the call started so that a call waiting for one returns, and interrupts a
/// blocking system call of the calling thread with SIGURG (whose default action is to
/// ignore it, so a script that resets it cannot end the program with it).
///
/// Processes are followed through fork(): a process that the calling thread forks during a
/// call becomes the leader of a process group of its own, which its descendants inherit.
/// When the call ends, overrun or not, those groups are killed and the children reaped. A
/// descendant that leaves its group (setsid, setpgid) escapes.
///
/// begin() and end() are called from one thread; expired() from any. Only one instance may
/// exist at a time: the fork hooks are process-wide.
class CallWatchdog
{
public:
    CallWatchdog();
    ~CallWatchdog();
    CallWatchdog(const CallWatchdog &) = delete;
    CallWatchdog &operator=(const CallWatchdog &) = delete;

    /// Starts a call bounded by `limit` (no deadline when it is zero or less). When the
    /// thread is interrupted, `interruptFlag` (may be null) is set to 1 on that thread: the
    /// script host's "signal pending" flag, which it checks when it retries an interrupted
    /// system call.
    void begin(std::chrono::milliseconds limit, volatile int *interruptFlag);
    /// Ends the call: kills and reaps every process it started. True when it overran.
    bool end();
    /// True from the current call's deadline until end().
    bool expired() const { return m_expired.load(std::memory_order_relaxed); }
    /// True in a process forked by a call: it must never return into the program's code.
    static bool inForkedChild();

private:
    using Clock = std::chrono::steady_clock;

    void watch();
    void stopOverrunningCall();
    void collectChildren(bool waitForAll);
    void killChildren() const;
    void reapChildren() const;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_armed = false;
    bool m_quit = false;
    Clock::time_point m_deadline;
    // What the watchdog sleeps until; begin() wakes it only for an earlier deadline.
    Clock::time_point m_sleepsUntil = Clock::time_point::max();
    pthread_t m_caller{};
    std::atomic<bool> m_expired{false};
    // Leaders of the process groups the current call started.
    std::vector<pid_t> m_children;
    std::thread m_thread;
};

} // namespace glimra
