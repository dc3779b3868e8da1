// How a guess grows with the size of the selection: the built-in matcher chain without
// plug-ins, then the offered actions, the result files and the summary, over mixed texts
// (words, existing and missing paths, URLs) of 1 MiB and 10 MiB, over 10,000 and 100,000
// existing paths, over 10 MiB of words that never repeat, over 10 MiB of trace lines (frames
// of existing, missing and partial paths) and over 10 MiB of lines made to be slow to read as
// traces; then the file matcher alone
// over the same text, and its reading of trace lines alone (each the median of three runs). Each case runs in a process of its own, so
// the peak resident memory it reports (VmHWM) is that case's alone.
//   bench_large_selections          every case, one line each
//   bench_large_selections CASE     one case: mixed-1MiB, mixed-10MiB, paths-10k, paths-100k,
//                                   distinct-10MiB, traces-10MiB, hostile-10MiB
#include "BenchSupport.h"

#include "foundation/ProcessRunner.h"
#include "matchers/FileMatch.h"
#include "matching/MatchingEngine.h"
#include "app/BuiltInPlugins.h"
#include "matching/PluginManager.h"
#include "matching/contentType.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>

#include <cstdio>

using namespace glimra;
using namespace glimra::bench;
using namespace Qt::StringLiterals;

namespace {

enum class Kind { Mixed, Paths, DistinctWords, Traces, Hostile };

struct Case
{
    QString name;
    Kind kind;
    qsizetype size; ///< characters of the text, or the number of paths
    QString target;
};

const QList<Case> Cases = {
    {u"mixed-1MiB"_s, Kind::Mixed, 1 << 20, u"<= 0.5 s"_s},
    {u"mixed-10MiB"_s, Kind::Mixed, 10 << 20, u"<= 3 s, <= 150 MB"_s},
    {u"paths-10k"_s, Kind::Paths, 10000, u"linear"_s},
    {u"paths-100k"_s, Kind::Paths, 100000, u"well under 1 s"_s},
    // The worst case of the word rule: no word repeats, each one asks the file system.
    {u"distinct-10MiB"_s, Kind::DistinctWords, 10 << 20, u"-"_s},
    // Only the first thousand places are read; the lines after them are passed over.
    {u"traces-10MiB"_s, Kind::Traces, 10 << 20, u"-"_s},
    // Megabyte lines that repeat what the trace forms look for, then a million lines that
    // each name a different missing place.
    {u"hostile-10MiB"_s, Kind::Hostile, 10 << 20, u"-"_s},
};

// 100,000 existing files: d0 ... d99, each with f0.txt ... f999.txt.
QString treePath(const QString &tree, qsizetype index)
{
    return u"%1/d%2/f%3.txt"_s.arg(tree).arg(index / 1000).arg(index % 1000);
}

QString syllableWord(quint32 index)
{
    static const char *const syllables[] = {"ka", "lo", "mi", "ne", "ru", "sa", "te", "vo",
                                            "zi", "pa", "de", "gu", "ho", "ji", "be", "fy"};
    QString word;
    do {
        word += QLatin1StringView(syllables[index % 16]);
        index /= 16;
    } while (index > 0);
    return word;
}

// One word of a mixed text: mostly words from a vocabulary of 20,000, the rest existing
// paths (relative to the project and absolute), missing paths, URLs and bare host names.
QString mixedWord(QRandomGenerator &random, const QString &tree)
{
    const quint32 kind = random.bounded(100);
    const quint32 n = random.bounded(1000000);
    if (kind < 70)
        return syllableWord(random.bounded(20000));
    if (kind < 74)
        return u"src/file%1.c"_s.arg(n % 100);
    if (kind < 78)
        return treePath(tree, n % 2000);
    if (kind < 82)
        return u"src/gone%1/x.c"_s.arg(n);
    if (kind < 85)
        return u"/nonexistent/dir%1/file.txt"_s.arg(n);
    if (kind < 90)
        return u"https://example.org/page/%1"_s.arg(n);
    if (kind < 93)
        return u"<www.example.com/a%1>"_s.arg(n);
    if (kind < 95)
        return u"ftp.gnu.org/gnu/pkg%1"_s.arg(n);
    return QString::number(n);
}

QString mixedText(qsizetype size, const QString &tree)
{
    QRandomGenerator random(42);
    QString text;
    text.reserve(size + 64);
    for (int words = 1; text.size() < size; ++words) {
        text += mixedWord(random, tree);
        text += words % 12 == 0 ? u"\n"_s : (words % 5 == 0 ? u", "_s : u" "_s);
    }
    text.truncate(size);
    return text;
}

QString distinctWords(qsizetype size)
{
    QString text;
    text.reserve(size + 16);
    for (int i = 0; text.size() < size; ++i)
        text += syllableWord(quint32(i)) + (i % 12 == 11 ? u'\n' : u' ');
    text.truncate(size);
    return text;
}

// Frames as Python, a Go panic, a compiler and a Java stack print them: of files in the
// project (relative and absolute), in the large tree, missing, and found only by the search.
QString traceText(qsizetype size, const QString &tree, const QString &project)
{
    QString text;
    text.reserve(size + 256);
    for (int i = 0; text.size() < size; ++i) {
        text += u"  File \"%1/src/file%2.c\", line %3, in f\n"_s.arg(project).arg(i % 100).arg(i);
        text += u"  File \"/nonexistent/x%1.py\", line 3, in g\n"_s.arg(i);
        text += u"\t%1 +0x1d\n"_s.arg(treePath(tree, i % 100000) + u':' + QString::number(i));
        text += u"src/file%1.c:%2:7: error: expected ';'\n"_s.arg(i % 100).arg(i);
        text += u"\tat com.example.Shop%1.pay(Shop%1.java:%2)\n"_s.arg(i % 10).arg(i);
    }
    text.truncate(size);
    return text;
}

QString hostileText(qsizetype size)
{
    const qsizetype line = 1 << 20;
    QString text = u"x line 1 "_s.repeated(line / 9) + u'\n' + u": line x"_s.repeated(line / 8)
        + u'\n' + u"at f "_s + u"(("_s.repeated(line / 2) + u'\n'
        + u"File \""_s.repeated(line / 6) + u"1\n"_s;
    for (int i = 0; text.size() < size; ++i)
        text += u"w%1:%1\n"_s.arg(i);
    text.truncate(size);
    return text;
}

QString pathList(qsizetype count, const QString &tree)
{
    QString text;
    for (qsizetype i = 0; i < count; ++i)
        text += treePath(tree, i) + u'\n';
    return text;
}

// `rule` of the file matcher alone over `selection`: the median of three runs, in seconds.
template <typename Rule>
double fileMatcherSeconds(const Context &selection, Rule rule)
{
    QList<double> seconds;
    for (int run = 0; run < 3; ++run) {
        Context working = selection;
        FileMatch matcher;
        QElapsedTimer clock;
        clock.start();
        rule(matcher, working);
        seconds.append(clock.nsecsElapsed() / 1e9);
    }
    return percentile(seconds, 0.5);
}

qsizetype lineCount(const QString &text)
{
    return text.isEmpty() ? 0 : text.count(u'\n') + 1;
}

int runCase(const Case &benchCase)
{
    IsolatedHome home;
    // Empty plug-in folders: only the built-in matchers and actions.
    qputenv("GLIMRA_RESOURCES", home.path(u"resources"_s).toLocal8Bit());
    QDir().mkpath(home.path(u"resources/PlugIns"_s));
    for (int i = 0; i < 100; ++i)
        home.writeFile(u"proj/src/file%1.c"_s.arg(i), "int x;\n");
    const QString tree = makeTree(u"tree100k"_s, 100, 1000);
    const QString text = benchCase.kind == Kind::Mixed ? mixedText(benchCase.size, tree)
        : benchCase.kind == Kind::Paths                ? pathList(benchCase.size, tree)
        : benchCase.kind == Kind::Traces               ? traceText(benchCase.size, tree, home.path(u"proj"_s))
        : benchCase.kind == Kind::Hostile              ? hostileText(benchCase.size)
                                                       : distinctWords(benchCase.size);
    const Context selection{{CTX_TEXT, text}, {CTX_DIR, home.path(u"proj/"_s)}};

    PluginManager plugins(BuiltInPlugins(Platform()).catalogue(), nullptr);
    plugins.loadPlugins();
    MatchingEngine engine(&plugins);
    const long rssBefore = peakResidentKilobytes();

    QElapsedTimer clock;
    clock.start();
    const Context matched = engine.matchContext(selection);
    const double matching = clock.nsecsElapsed() / 1e9;
    const ActionList actions = engine.actionsForContext(matched);
    const QList<FileObject> files = engine.filesForContext(matched);
    const QString summary = contentType(matched);
    const double total = clock.nsecsElapsed() / 1e9;
    const long rssAfter = peakResidentKilobytes();
    const double fileMatcher = fileMatcherSeconds(
        selection, [](FileMatch &matcher, Context &context) { matcher.matches(context); });
    const double traces = fileMatcherSeconds(
        selection, [](FileMatch &matcher, Context &context) { matcher.matchesTrace(context); });

    std::printf("%-12s %9lld chars  guess %7.3f s (matching %7.3f s; file matcher alone %7.3f s, "
                "its trace lines alone %7.3f s)  peak RSS %6.1f MB (%6.1f MB before the guess)  "
                "%6lld paths %6lld URLs %2lld actions %6lld files  [target %s]\n",
                qPrintable(benchCase.name), qlonglong(text.size()), total, matching, fileMatcher, traces,
                rssAfter / 1024.0, rssBefore / 1024.0,
                qlonglong(lineCount(matched.value(ACT_PATHS))),
                qlonglong(lineCount(matched.value(ACT_URLS))), qlonglong(actions.size()),
                qlonglong(files.size()), qPrintable(benchCase.target));
    return summary.isEmpty() ? 1 : 0;
}

// Every case in a fresh process of this program.
int runAll()
{
    int status = 0;
    for (const Case &benchCase : Cases) {
        ProcessRequest request;
        request.program = QCoreApplication::applicationFilePath();
        request.arguments = {benchCase.name};
        request.timeout = std::chrono::minutes(10);
        request.forwardStandardError = true;
        const ProcessResult result = ProcessRunner::run(request);
        std::fputs(result.standardOutput.constData(), stdout);
        std::fflush(stdout);
        if (!result.succeeded()) {
            std::fprintf(stderr, "%s failed%s\n", qPrintable(benchCase.name),
                         result.timedOut ? " (more than ten minutes)" : "");
            status = 1;
        }
    }
    return status;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    if (argc < 2)
        return runAll();
    const QString name = QString::fromLocal8Bit(argv[1]);
    for (const Case &benchCase : Cases) {
        if (benchCase.name == name)
            return runCase(benchCase);
    }
    std::fprintf(stderr, "unknown case %s\n", argv[1]);
    return 2;
}
