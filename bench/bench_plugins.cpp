// A guess with 10 Perl, 10 shell and 5 handler-script matcher plug-ins installed: the time
// per guess and the share each kind takes. Then the memory of 10,000 Perl parse cycles.
#include "BenchSupport.h"

#include "matching/MatchingEngine.h"
#include "app/BuiltInPlugins.h"
#include "matching/PluginManager.h"
#include "plugins/PerlEngine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>

#include <benchmark/benchmark.h>

#include <cstdio>

using namespace glimra;
using namespace glimra::bench;
using namespace Qt::StringLiterals;

namespace {

// Times every matcher it wraps, by kind.
class TimedMatcher : public MatcherObject
{
public:
    TimedMatcher(MatcherPtr inner, QHash<QString, qint64> &nanoseconds)
        : MatcherObject(inner->name()), m_inner(std::move(inner)), m_nanoseconds(nanoseconds)
    {
    }
    bool matches(Context &context) override
    {
        QElapsedTimer clock;
        clock.start();
        const bool matched = m_inner->matches(context);
        m_nanoseconds[m_inner->kind()] += clock.nsecsElapsed();
        return matched;
    }

private:
    MatcherPtr m_inner;
    QHash<QString, qint64> &m_nanoseconds;
};

class TimedPlugins : public PluginLists
{
public:
    explicit TimedPlugins(PluginManager &manager) : m_manager(manager) {}
    MatcherList allMatchers(const Settings &settings) override
    {
        MatcherList timed;
        for (const MatcherPtr &matcher : m_manager.allMatchers(settings))
            timed.append(std::make_shared<TimedMatcher>(matcher, nanoseconds));
        return timed;
    }
    ActionList actionList() const override { return m_manager.actionList(); }
    QHash<QString, qint64> nanoseconds;

private:
    PluginManager &m_manager;
};

void installPlugins(IsolatedHome &home)
{
    for (int i = 0; i < 10; ++i) {
        home.writeFile(u"data/glimra/plugins/Perl%1Matcher.pl"_s.arg(i),
                       "use strict; our %CONTEXT;\n"
                       "sub matches_context { return 0 unless ($CONTEXT{CTX_TEXT} // '') =~ /(\\d+)/;\n"
                       "  $CONTEXT{ACT_PERL} = $1; 1 }\n");
        home.writeFile(u"data/glimra/plugins/Shell%1Matcher.sh"_s.arg(i),
                       "read -r line\ncase \"$line\" in *[0-9]*) echo \"ACT_SHELL=$line\" ;; *) exit 1 ;; esac\n");
    }
    for (int i = 0; i < 5; ++i) {
        const QString file = home.writeFile(
            u"data/glimra/plugins/Handler%1Matcher.handler"_s.arg(i),
            "#!/usr/bin/perl\nuse JSON::PP; my $a = decode_json(join '', <STDIN>);\n"
            "print encode_json({ACT_HANDLER => $a->[0]{CTX_TEXT}});\n");
        QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}

void guessWithPlugins(benchmark::State &state)
{
    IsolatedHome home;
    installPlugins(home);
    PluginManager manager(BuiltInPlugins(Platform()).catalogue(), nullptr);
    manager.loadPlugins();
    TimedPlugins plugins(manager);
    MatchingEngine engine(&plugins);
    const Context selection{{CTX_TEXT, u"order 4711 shipped"_s}};
    QElapsedTimer clock;
    clock.start();
    for (auto _ : state)
        benchmark::DoNotOptimize(engine.matchContext(selection));
    const double total = double(clock.nsecsElapsed());
    state.counters["ms_per_guess"] = total / 1e6 / double(state.iterations());
    for (const QString &kind : {u"perl"_s, u"shell"_s, u"handler script"_s, u"built-in"_s}) {
        const QString name = kind == u"handler script"_s ? u"handler"_s : kind;
        state.counters[(name + u"_share"_s).toStdString()] = double(plugins.nanoseconds.value(kind)) / total;
    }
}

void perlParseMemory(benchmark::State &state)
{
    IsolatedHome home;
    const QString script = home.writeFile(u"Memory.pl"_s, "our %CONTEXT;\n"
                                                          "sub matches_context { $CONTEXT{ACT_X} = int(2.5); 1 }\n");
    PerlEngine perl;
    for (int i = 0; i < 200; ++i) // warm up: libraries loaded, caches filled
        perl.parse(script);
    const long before = residentKilobytes();
    QElapsedTimer clock;
    clock.start();
    qint64 cycles = 0;
    for (auto _ : state) {
        for (int i = 0; i < 10000; ++i) {
            perl.parse(script);
            benchmark::DoNotOptimize(perl.execute(u"matches_context"_s));
        }
        cycles += 10000;
    }
    state.counters["rss_growth_kb"] = double(residentKilobytes() - before);
    state.counters["us_per_cycle"] = double(clock.nsecsElapsed()) / 1e3 / double(cycles);
}

} // namespace

BENCHMARK(guessWithPlugins)->Unit(benchmark::kMillisecond)->MinTime(3)->UseRealTime();
BENCHMARK(perlParseMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char **argv)
{
    return glimra::bench::runBenchmarks(argc, argv);
}
