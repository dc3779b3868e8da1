#include "foundation/ExitCleanup.h"

#include <QDir>
#include <QFile>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <new>

#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

// Fixed tables: the signal handler may neither allocate nor lock.
constexpr int MaximumGroups = 256;
constexpr int MaximumFiles = 512;
constexpr size_t MaximumPathBytes = 512;

using GroupTable = std::array<std::atomic<pid_t>, MaximumGroups>;

// Shared with the children we fork, so that a child enters its own group in the table
// before it runs anything: a signal that arrives between the fork and the parent's return
// from starting it still finds the group.
GroupTable &groups()
{
    static GroupTable *table = [] {
        void *memory = ::mmap(nullptr, sizeof(GroupTable), PROT_READ | PROT_WRITE,
                              MAP_SHARED | MAP_ANONYMOUS, -1, 0);
        if (memory == MAP_FAILED) {
            static GroupTable unshared{};
            return &unshared;
        }
        return new (memory) GroupTable{};
    }();
    return *table;
}

struct FileSlot
{
    std::atomic<int> state{0}; // 0 free, 1 being written, 2 registered
    char path[MaximumPathBytes];
};
// Initialised at compile time: all zero, it costs a process nothing until a file is
// registered (a start-up loop that cleared it would touch every one of its pages).
constinit std::array<FileSlot, MaximumFiles> files{};

const int CaughtSignals[] = {SIGINT, SIGTERM, SIGHUP};

void cleanUpAndDie(int signal)
{
    for (std::atomic<pid_t> &group : groups()) {
        const pid_t pid = group.load(std::memory_order_acquire);
        if (pid > 0)
            ::kill(-pid, SIGKILL);
    }
    for (FileSlot &slot : files) {
        if (slot.state.load(std::memory_order_acquire) == 2)
            ::unlink(slot.path);
    }
    // End as the signal would have ended us.
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

} // namespace

void ExitCleanup::install()
{
    groups(); // made before any child is forked
    // However the program returns from main(), its children's groups end with it; a forked
    // child that calls exit() (the table is shared with it) ends none.
    static pid_t installer = ::getpid();
    std::atexit([] {
        if (::getpid() == installer)
            endChildren();
    });
    struct sigaction action {};
    action.sa_handler = cleanUpAndDie;
    sigemptyset(&action.sa_mask);
    for (const int signal : CaughtSignals)
        sigaddset(&action.sa_mask, signal);
    for (const int signal : CaughtSignals) {
        struct sigaction previous {};
        // A signal ignored when we were started (nohup) stays ignored.
        if (::sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN)
            continue;
        ::sigaction(signal, &action, nullptr);
    }
}

void ExitCleanup::addProcessGroup(pid_t group)
{
    for (std::atomic<pid_t> &slot : groups()) {
        pid_t expected = 0;
        if (slot.compare_exchange_strong(expected, group, std::memory_order_acq_rel))
            return;
    }
}

void ExitCleanup::prepareForChildren()
{
    // A group none of whose processes runs any more (a child that failed to start, or
    // one that ended with everything it started) is forgotten, so that its number, once
    // reused, is never killed. One whose leader has exited may still hold its children.
    for (std::atomic<pid_t> &slot : groups()) {
        pid_t pid = slot.load(std::memory_order_acquire);
        if (pid > 0 && ::kill(-pid, 0) != 0 && errno == ESRCH)
            slot.compare_exchange_strong(pid, 0, std::memory_order_acq_rel);
    }
}

void ExitCleanup::endChildren()
{
    for (std::atomic<pid_t> &slot : groups()) {
        const pid_t pid = slot.exchange(0, std::memory_order_acq_rel);
        if (pid > 0)
            ::kill(-pid, SIGKILL);
    }
}

void ExitCleanup::removeProcessGroup(pid_t group)
{
    for (std::atomic<pid_t> &slot : groups()) {
        pid_t expected = group;
        if (slot.compare_exchange_strong(expected, 0, std::memory_order_acq_rel))
            return;
    }
}

bool ExitCleanup::addFile(const QString &path)
{
    const QByteArray bytes = QFile::encodeName(path);
    if (size_t(bytes.size()) >= MaximumPathBytes)
        return false;
    for (FileSlot &slot : files) {
        int expected = 0;
        if (!slot.state.compare_exchange_strong(expected, 1, std::memory_order_acq_rel))
            continue;
        std::memcpy(slot.path, bytes.constData(), size_t(bytes.size()) + 1);
        slot.state.store(2, std::memory_order_release);
        return true;
    }
    return false;
}

void ExitCleanup::removeFile(const QString &path)
{
    const QByteArray bytes = QFile::encodeName(path);
    for (FileSlot &slot : files) {
        if (slot.state.load(std::memory_order_acquire) != 2 || bytes != slot.path)
            continue;
        int expected = 2;
        if (slot.state.compare_exchange_strong(expected, 1, std::memory_order_acq_rel)) {
            slot.path[0] = '\0';
            slot.state.store(0, std::memory_order_release);
        }
        return;
    }
}

void ExitCleanup::removeStaleFiles(const QString &folder, const QString &prefix)
{
    const QDir dir(folder);
    for (const QString &name : dir.entryList({prefix + u'*'}, QDir::Files | QDir::Hidden)) {
        // "<prefix><pid>-XXXXXX": a pid whose process is gone left the file behind.
        const qsizetype dash = name.indexOf(u'-', prefix.size());
        bool ok = false;
        const qint64 pid = name.mid(prefix.size(), dash - prefix.size()).toLongLong(&ok);
        if (!ok || pid <= 0 || pid == ::getpid())
            continue;
        if (::kill(pid_t(pid), 0) != 0 && errno == ESRCH)
            QFile::remove(dir.filePath(name));
    }
}

} // namespace glimra
