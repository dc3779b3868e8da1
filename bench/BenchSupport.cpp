#include "BenchSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <unistd.h>

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

int runBenchmarks(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace glimra::bench
