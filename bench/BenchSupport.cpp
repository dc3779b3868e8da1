#include "BenchSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <QElapsedTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace glimra::bench {

IsolatedHome::IsolatedHome()
{
    qputenv("HOME", path(QStringLiteral("home")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", path(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", path(QStringLiteral("data")).toLocal8Bit());
    QDir().mkpath(path(QStringLiteral("home")));
}

QString IsolatedHome::path(const QString &relative) const
{
    return relative.isEmpty() ? m_dir.path() : m_dir.path() + QLatin1Char('/') + relative;
}

QString IsolatedHome::writeFile(const QString &relative, const QByteArray &contents)
{
    const QString absolute = path(relative);
    QDir().mkpath(QFileInfo(absolute).absolutePath());
    QFile file(absolute);
    if (file.open(QIODevice::WriteOnly))
        file.write(contents);
    return absolute;
}

CpuTimes CpuTimes::now()
{
    auto micros = [](const timeval &t) { return double(t.tv_sec) * 1e6 + double(t.tv_usec); };
    rusage self{};
    rusage children{};
    getrusage(RUSAGE_SELF, &self);
    getrusage(RUSAGE_CHILDREN, &children);
    return {micros(self.ru_utime) + micros(self.ru_stime),
            micros(children.ru_utime) + micros(children.ru_stime)};
}

long residentKilobytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toLong() * (sysconf(_SC_PAGESIZE) / 1024) : 0;
}

QString benchDir()
{
    return QDir::tempPath() + QStringLiteral("/glimra-bench");
}

QString makeTree(const QString &name, int folders, int files)
{
    const QString root = benchDir() + u'/' + name;
    const QString done = root + QStringLiteral("/.complete");
    if (QFile::exists(done))
        return root;
    QDir(root).removeRecursively();
    for (int d = 0; d < folders; ++d) {
        const QString folder = QStringLiteral("%1/d%2").arg(root).arg(d);
        QDir().mkpath(folder);
        for (int f = 0; f < files; ++f) {
            const QByteArray file = QStringLiteral("%1/f%2.txt").arg(folder).arg(f).toLocal8Bit();
            ::close(::open(file.constData(), O_CREAT | O_WRONLY, 0644));
        }
        if (d % 100 == 0) {
            const QByteArray target = (folder + QStringLiteral("/target.c")).toLocal8Bit();
            ::close(::open(target.constData(), O_CREAT | O_WRONLY, 0644));
        }
    }
    QFile(done).open(QIODevice::WriteOnly);
    return root;
}

long peakResidentKilobytes()
{
    return statusKilobytes(QStringLiteral("self"), "VmHWM");
}

long statusKilobytes(const QString &process, const QByteArray &field)
{
    // Files in /proc report no size, so read them whole rather than line by line.
    QFile status(QStringLiteral("/proc/%1/status").arg(process));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

double percentile(QList<double> values, double fraction)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype rank = qsizetype(std::ceil(fraction * double(values.size())));
    return values.at(std::clamp<qsizetype>(rank - 1, 0, values.size() - 1));
}

double Samples::percentile(int percent) const
{
    return bench::percentile(m_values, percent / 100.0);
}

double timeProgram(const QStringList &command, const QByteArray &input)
{
    std::vector<QByteArray> words;
    for (const QString &word : command)
        words.push_back(word.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    int toChild[2];
    if (::pipe2(toChild, O_CLOEXEC) != 0)
        return 0;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toChild[0], 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    QElapsedTimer clock;
    clock.start();
    pid_t child = 0;
    const bool started = ::posix_spawn(&child, argv.front(), &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    ::close(toChild[0]);
    // The inputs are small: a pipe holds them whole.
    if (started && !input.isEmpty())
        [[maybe_unused]] const ssize_t written = ::write(toChild[1], input.constData(), size_t(input.size()));
    ::close(toChild[1]);
    int status = 0;
    if (started)
        ::waitpid(child, &status, 0);
    return double(clock.nsecsElapsed()) / 1e6;
}

void reportSamples(benchmark::State &state, const std::string &name, const Samples &samples)
{
    state.counters[name + "_median_ms"] = samples.median();
    state.counters[name + "_p90_ms"] = samples.percentile(90);
}

int runBenchmarks(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace glimra::bench
