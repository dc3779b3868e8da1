// The programs Glimra starts, and Glimra started as a program, each beside the program it
// is measured against, in the same run: 40 rounds that take turns, median and 90th
// percentile of each.
//   glimra match --text hello   against perl -e 1
//   glimra --version (handed to glimra-desktop, which loads the desktop's libraries and
//   answers before making an application object) against glimra match --text hello: what
//   the hand-over costs every command but match, guess and clipboard (glimra asks the
//   running instance for those two itself, with QtCore and QtDBus)
//   a handler script written with Glimra::Handlers, started by hand, against perl -e 1
//   a handler call (HandlerScript) against running the same script by hand
//   the calculator (DCalcMatch) against bc started directly
// GLIMRA_BENCH_PROGRAM names another glimra to measure (an installed one, an older build).
#include "BenchSupport.h"

#include "foundation/HandlerScript.h"
#include "foundation/Paths.h"
#include "matchers/DCalcMatch.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStandardPaths>

#include <benchmark/benchmark.h>

#include <functional>

using namespace glimra;
using namespace glimra::bench;
using namespace Qt::StringLiterals;

namespace {

constexpr int Rounds = 40;

const QStringList PerlStart = {u"/usr/bin/perl"_s, u"-e"_s, u"1"_s};

// Runs `measured` and `reference` in turns and reports both and how they compare.
template <typename Measured, typename Reference>
void compare(benchmark::State &state, const std::string &name, Measured measured,
             const std::string &referenceName, Reference reference)
{
    Samples subject;
    Samples against;
    for (auto _ : state) {
        for (int round = 0; round < Rounds; ++round) {
            subject.add(measured());
            against.add(reference());
        }
    }
    reportSamples(state, name, subject);
    reportSamples(state, referenceName, against);
    state.counters["ratio"] = subject.median() / against.median();
    state.counters["difference_ms"] = subject.median() - against.median();
}

double elapsedMilliseconds(const std::function<void()> &work)
{
    QElapsedTimer clock;
    clock.start();
    work();
    return double(clock.nsecsElapsed()) / 1e6;
}

QString handlerScript(IsolatedHome &home)
{
    const QString file = home.writeFile(u"UpperMatcher.scpt"_s, R"(#!/usr/bin/perl
use strict;
use warnings;
use lib "$ENV{GLIMRA_RESOURCES}/perl5";
use Glimra::Handlers;

Glimra::Handlers::run(matches_context => sub {
    my ($context) = @_;
    my $text = $context->{CTX_TEXT} // '';
    return undef if $text eq '' || $text =~ /\n/;
    return { ACT_TEXT => uc $text };
});
)");
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("GLIMRA_RESOURCES", appResourcesDir().toLocal8Bit());
    return file;
}

const QByteArray HandlerInput = R"([{"CTX_TEXT":"hello \"w\u00f6rld\"","CTX_DIR":"/tmp/"}])";

void matchCommand(benchmark::State &state)
{
    IsolatedHome home;
    const QString program = qEnvironmentVariable("GLIMRA_BENCH_PROGRAM", QStringLiteral(GLIMRA_BINARY));
    const QStringList glimra = {program, u"match"_s, u"--text"_s, u"hello"_s};
    compare(state, "glimra_match", [&] { return timeProgram(glimra); }, "perl", [] {
        return timeProgram(PerlStart);
    });
}

void desktopHandOver(benchmark::State &state)
{
    IsolatedHome home;
    const QString program = qEnvironmentVariable("GLIMRA_BENCH_PROGRAM", QStringLiteral(GLIMRA_BINARY));
    const QStringList version = {program, u"--version"_s};
    const QStringList match = {program, u"match"_s, u"--text"_s, u"hello"_s};
    compare(state, "glimra_version", [&] { return timeProgram(version); }, "glimra_match",
            [&] { return timeProgram(match); });
}

void handlerScriptStart(benchmark::State &state)
{
    IsolatedHome home;
    const QStringList script = {handlerScript(home), u"matches_context"_s};
    compare(state, "handler_script", [&] { return timeProgram(script, HandlerInput); }, "perl",
            [] { return timeProgram(PerlStart); });
}

void handlerCall(benchmark::State &state)
{
    IsolatedHome home;
    const QString file = handlerScript(home);
    const std::shared_ptr<HandlerScript> script = HandlerScript::load(file);
    const QJsonArray arguments = QJsonDocument::fromJson(HandlerInput).array();
    compare(
        state, "handler_call",
        [&] { return elapsedMilliseconds([&] { script->call(u"matches_context"_s, arguments); }); },
        "by_hand", [&] { return timeProgram({file, u"matches_context"_s}, HandlerInput); });
}

void calculator(benchmark::State &state)
{
    const QString bc = QStandardPaths::findExecutable(u"bc"_s);
    DCalcMatch calc;
    compare(
        state, "dcalc",
        [&] {
            return elapsedMilliseconds([&] {
                Context context{{CTX_TEXT, u"(12*7)/3"_s}};
                calc.matches(context);
            });
        },
        "bc", [&] { return timeProgram({bc, u"-lq"_s}, "scale=3\n(12*7)/3\nquit\n"); });
}

} // namespace

BENCHMARK(matchCommand)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(desktopHandOver)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(handlerScriptStart)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(handlerCall)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(calculator)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    return glimra::bench::runBenchmarks(argc, argv);
}
