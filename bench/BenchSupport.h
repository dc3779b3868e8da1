#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <chrono>
#include <string>

namespace benchmark {
class State;
}

namespace glimra::bench {

/// A temporary home with its own XDG folders, so a benchmark never sees the user's
/// settings or plug-ins.
class IsolatedHome
{
public:
    IsolatedHome();
    QString path(const QString &relative = {}) const;
    QString writeFile(const QString &relative, const QByteArray &contents);

private:
    QTemporaryDir m_dir;
};

/// CPU time of this process and of its waited-for children, in microseconds.
struct CpuTimes
{
    double self = 0;
    double children = 0;
    static CpuTimes now();
};

/// $TMPDIR/glimra-bench, where the file trees of the benchmarks are kept between runs.
QString benchDir();

/// The folder `name` in benchDir(), with `folders` folders d0, d1, ... of `files` empty
/// files f0.txt, f1.txt, ... each and one "target.c" in every hundredth folder. Made once;
/// later runs reuse it.
QString makeTree(const QString &name, int folders, int files);

/// Resident memory of this process in kilobytes.
long residentKilobytes();

/// The most resident memory this process has had, in kilobytes (VmHWM).
long peakResidentKilobytes();

/// A line of /proc/PROCESS/status ("VmRSS", "VmHWM", ...) in kilobytes, for a process id or
/// "self"; 0 when it cannot be read.
long statusKilobytes(const QString &process, const QByteArray &field);

/// The value that `fraction` of `values` do not exceed (nearest rank); 0 for no values.
double percentile(QList<double> values, double fraction);
/// Durations of repeated runs, in milliseconds.
class Samples
{
public:
    void add(double milliseconds) { m_values.append(milliseconds); }
    double median() const { return percentile(50); }
    double percentile(int percent) const;

private:
    QList<double> m_values;
};

/// Starts `command` (its program by absolute path) with `input` on its standard input and
/// its output thrown away, and waits for it to end: the time that took, in milliseconds.
/// Started as a shell would start it (posix_spawn), so that the figure holds nothing of
/// Glimra's own way of running programs.
double timeProgram(const QStringList &command, const QByteArray &input = {});

/// Reports the median and the 90th percentile of `samples` as the counters
/// NAME_median_ms and NAME_p90_ms.
void reportSamples(benchmark::State &state, const std::string &name, const Samples &samples);

/// The main function of a Google Benchmark program that needs an application object.
int runBenchmarks(int argc, char **argv);

} // namespace glimra::bench
