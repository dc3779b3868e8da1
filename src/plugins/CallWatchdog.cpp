#include "plugins/CallWatchdog.h"

#include <csignal>

#include <fcntl.h>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace glimra {

namespace {

// How long end() waits for the children of a call to register and then to die.
constexpr auto RegistrationWait = 200ms;
constexpr auto ReapWait = 500ms;
// After the deadline the watchdog repeats its work at this pace until the call ends: the
// call may have started another process or entered another wait since.
constexpr auto RepeatPace = 50ms;

// The fork hooks run in every fork of the process; only the thread inside a call, and the
// processes it forks, take part.
thread_local bool t_inCall = false;
// Set in a process forked during a call (and inherited by its descendants).
volatile sig_atomic_t s_forkedChild = 0;
// Forks made by the calling thread during the current call, counted in the parent.
std::atomic<int> s_forks{0};
// Each child forked by a call writes its pid here: only the child knows it at fork time.
int s_registry[2] = {-1, -1};
std::atomic<volatile int *> s_interruptFlag{nullptr};

void forkedInParent()
{
    if (t_inCall && !s_forkedChild)
        s_forks.fetch_add(1, std::memory_order_relaxed);
}

void forkedInChild()
{
    // A grandchild (s_forkedChild inherited) stays in its parent's group.
    if (!t_inCall || s_forkedChild)
        return;
    s_forkedChild = 1;
    ::setpgid(0, 0);
    const pid_t self = ::getpid();
    // Non-blocking: a full registry must not stop the child.
    [[maybe_unused]] const ssize_t written = ::write(s_registry[1], &self, sizeof self);
}

void interrupted(int)
{
    if (volatile int *flag = s_interruptFlag.load(std::memory_order_relaxed))
        *flag = 1;
}

void installForkHooks()
{
    static std::once_flag once;
    std::call_once(once, [] {
        if (::pipe2(s_registry, O_CLOEXEC | O_NONBLOCK) != 0)
            s_registry[0] = s_registry[1] = -1;
        ::pthread_atfork(nullptr, forkedInParent, forkedInChild);
    });
}

// Through syscall(): glibc's own declaration lacks C linkage for C++.
int openProcess(pid_t pid)
{
    return int(::syscall(SYS_pidfd_open, pid, 0));
}

int millisecondsUntil(std::chrono::steady_clock::time_point end)
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
    return left.count() > 0 ? int(left.count()) : 0;
}

} // namespace

CallWatchdog::CallWatchdog()
{
    installForkHooks();
    m_thread = std::thread([this] { watch(); });
}

CallWatchdog::~CallWatchdog()
{
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

bool CallWatchdog::inForkedChild()
{
    return s_forkedChild;
}

void CallWatchdog::begin(std::chrono::milliseconds limit, volatile int *interruptFlag)
{
    s_forks.store(0, std::memory_order_relaxed);
    s_interruptFlag.store(interruptFlag, std::memory_order_relaxed);
    t_inCall = true;
    std::lock_guard lock(m_mutex);
    m_expired.store(false, std::memory_order_relaxed);
    m_caller = ::pthread_self();
    m_armed = limit.count() > 0;
    if (!m_armed)
        return;
    m_deadline = Clock::now() + limit;
    // Usually the watchdog already sleeps until an earlier deadline: no wake-up needed.
    if (m_deadline < m_sleepsUntil)
        m_wake.notify_one();
}

bool CallWatchdog::end()
{
    t_inCall = false;
    s_interruptFlag.store(nullptr, std::memory_order_relaxed);
    std::lock_guard lock(m_mutex);
    m_armed = false;
    const bool overran = m_expired.exchange(false, std::memory_order_relaxed);
    if (s_forks.load(std::memory_order_relaxed) > 0 || !m_children.empty()) {
        collectChildren(true);
        killChildren();
        reapChildren();
        m_children.clear();
    }
    return overran;
}

void CallWatchdog::watch()
{
    ::pthread_setname_np(::pthread_self(), "call watchdog");
    std::unique_lock lock(m_mutex);
    while (!m_quit) {
        if (!m_armed) {
            m_sleepsUntil = Clock::time_point::max();
            m_wake.wait(lock);
        } else if (Clock::now() < m_deadline) {
            m_sleepsUntil = m_deadline;
            m_wake.wait_until(lock, m_deadline);
        } else {
            stopOverrunningCall();
            m_sleepsUntil = Clock::now() + RepeatPace;
            m_wake.wait_until(lock, m_sleepsUntil);
        }
    }
}

// Called with the mutex held.
void CallWatchdog::stopOverrunningCall()
{
    m_expired.store(true, std::memory_order_relaxed);
    collectChildren(false);
    killChildren();
    // Installed now, not earlier: the script may have replaced it during the call.
    struct sigaction action = {};
    action.sa_handler = interrupted;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no SA_RESTART: the blocking call must return
    ::sigaction(SIGURG, &action, nullptr);
    ::pthread_kill(m_caller, SIGURG);
}

// Reads the pids of the children that registered; with `waitForAll`, waits a little for
// those that were forked but have not registered yet.
void CallWatchdog::collectChildren(bool waitForAll)
{
    if (s_registry[0] < 0)
        return;
    const auto giveUp = Clock::now() + RegistrationWait;
    for (;;) {
        pid_t pid = 0;
        while (::read(s_registry[0], &pid, sizeof pid) == ssize_t(sizeof pid))
            m_children.push_back(pid);
        if (!waitForAll || int(m_children.size()) >= s_forks.load(std::memory_order_relaxed)
            || Clock::now() >= giveUp)
            return;
        pollfd readable{s_registry[0], POLLIN, 0};
        ::poll(&readable, 1, millisecondsUntil(giveUp));
    }
}

void CallWatchdog::killChildren() const
{
    for (const pid_t leader : m_children)
        ::kill(-leader, SIGKILL);
}

// The children that the script did not wait for would stay zombies: wait for them here. A
// child that the script waited for already has no pidfd to open (unless its pid was reused
// meanwhile, and then waitid refuses a process that is not our child).
void CallWatchdog::reapChildren() const
{
    const auto giveUp = Clock::now() + ReapWait;
    for (const pid_t child : m_children) {
        const int process = openProcess(child);
        if (process < 0)
            continue; // already reaped
        pollfd exited{process, POLLIN, 0};
        ::poll(&exited, 1, millisecondsUntil(giveUp));
        siginfo_t info = {};
        ::waitid(P_PIDFD, id_t(process), &info, WEXITED | WNOHANG);
        ::close(process);
    }
}

} // namespace glimra
