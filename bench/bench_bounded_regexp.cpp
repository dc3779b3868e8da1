// The regular expressions that come from outside (user rules, the bus, `glimra regexp`):
//   how long, on the wall clock, a call that runs into a limit takes to be stopped;
//   what the bounds cost an ordinary match, against QRegularExpression as it was used;
//   a user's rule over a 1 MiB selection through RegExpMatcher (off the main thread).
// Figures are medians, in milliseconds or microseconds.
//   build/bench/bench_bounded_regexp [RUNS]
#include "BenchSupport.h"

#include "app/RegexpCommand.h"
#include "foundation/BoundedRegexp.h"
#include "foundation/Strings.h"
#include "matching/RegExpMatcher.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRegularExpression>

#include <cstdio>

using namespace glimra;
using namespace glimra::bench;
using namespace Qt::StringLiterals;

namespace {

double elapsedMs(const QElapsedTimer &clock)
{
    return double(clock.nsecsElapsed()) / 1e6;
}

void runaway(const char *what, const QString &eventId, const QString &text, const QString &pattern, int runs)
{
    Samples wall;
    QString failure;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        failure = RegexpCommand::perform(eventId, text, pattern).failure;
        wall.add(elapsedMs(clock));
    }
    std::printf("%-58s %8.1f ms median, %8.1f ms p90  (%s)\n", what, wall.median(), wall.percentile(90),
                qPrintable(failure.isNull() ? u"answered"_s : failure));
}

// Microseconds per match of `pattern` over `words`, bounded and as QRegularExpression.
void ordinary(const char *what, const QString &pattern, const QStringList &words, int runs)
{
    Samples bounded, qt;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        const BoundedRegexp expression(pattern);
        BoundedRegexp::Budget budget;
        int found = 0;
        for (const QString &word : words)
            found += expression.match(word, budget).matched();
        bounded.add(elapsedMs(clock) * 1000 / words.size());
        clock.restart();
        int qtFound = 0;
        for (const QString &word : words)
            qtFound += matchMultiple(word, pattern).has_value();
        qt.add(elapsedMs(clock) * 1000 / words.size());
        if (found != qtFound)
            std::printf("  %s: %d matches bounded, %d unbounded\n", what, found, qtFound);
    }
    std::printf("%-58s %8.3f us bounded, %8.3f us unbounded, per match\n", what, bounded.median(), qt.median());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const int runs = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 5;

    std::printf("A call that reaches a limit (the wall time until it answers)\n");
    runaway("back references over 400,000 characters, (\\w+)\\1x", u"mreg"_s, QString(400'000, u'a'),
            u"(\\w+)\\1x"_s, runs);
    runaway("nested repeats, ^(a+)+b|a{40}c on 40 a and c", u"mreg"_s, QString(40, u'a') + u'c',
            u"^(a+)+b|a{40}c"_s, runs);
    runaway("deep alternatives, (?:(a)|b)*$ on 1,000,000 a", u"xreg"_s, QString(1'000'000, u'a'),
            u"(?:(a)|b)*$"_s, runs);

    std::printf("\nAn ordinary match\n");
    QStringList words;
    for (int i = 0; i < 20'000; ++i)
        words.append(i % 7 == 0 ? u"ABC-%1"_s.arg(i) : u"word%1"_s.arg(i));
    ordinary("a ticket, ^[A-Z]{3}-\\d+$, over 20,000 words", u"^[A-Z]{3}-\\d+$"_s, words, runs);
    ordinary("a word anywhere, \\bword1\\d\\b, over 20,000 words", u"\\bword1\\d\\b"_s, words, runs);

    std::printf("\nA user's rule over a selection of 1 MiB (64,000 lines), off the main thread\n");
    QString selection;
    for (int i = 0; selection.size() < 1024 * 1024; ++i)
        selection += u"line %1 of the log, nothing to see\n"_s.arg(i);
    Samples rule;
    for (int i = 0; i < runs; ++i) {
        RegExpMatcher matcher(u"ACT_TICKET"_s, u""_s, u"^[A-Z]{3}-\\d+$"_s);
        Context context{{CTX_TEXT, selection}};
        QElapsedTimer clock;
        clock.start();
        matcher.matches(context);
        rule.add(elapsedMs(clock));
    }
    // The same pieces as QRegularExpression took them on the calling thread.
    Samples before;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        int found = 0;
        for (const QString &separators : {u"\n\r"_s, u"()<>,;\"'\t "_s}) {
            for (const QString &piece : split(selection, separators))
                found += matchMultiple(piece, u"^[A-Z]{3}-\\d+$"_s).has_value();
        }
        before.add(elapsedMs(clock));
        if (found)
            std::printf("  unexpected matches: %d\n", found);
    }
    std::printf("%-58s %8.1f ms median, %8.1f ms as QRegularExpression on this thread\n",
                "RegExpMatcher, lines then words, no match", rule.median(), before.median());
    return 0;
}
