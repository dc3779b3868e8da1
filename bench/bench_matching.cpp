// Guesses per second of the built-in matcher chain over a fixed set of texts, and how much
// of each guess is spent in this process rather than in the calculator or a shell.
#include "BenchSupport.h"

#include "matching/MatchingEngine.h"
#include "app/BuiltInPlugins.h"
#include "matching/PluginManager.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

using namespace glimra;
using namespace glimra::bench;
using namespace Qt::StringLiterals;

namespace {

struct Fixture
{
    IsolatedHome home;
    std::unique_ptr<PluginManager> plugins;
    QString project;

    Fixture()
    {
        project = home.path(u"proj"_s);
        home.writeFile(u"proj/src/main.c"_s, "int main;\n");
        home.writeFile(u"proj/README"_s, "x\n");
        home.writeFile(u"proj/Makefile"_s, "all:\n");
        plugins = std::make_unique<PluginManager>(BuiltInPlugins(Platform()).catalogue(), nullptr);
        plugins->loadPlugins();
    }
};

Fixture &fixture()
{
    static Fixture instance;
    return instance;
}

QString paragraph()
{
    QStringList words;
    for (int i = 0; i < 197; ++i)
        words.append(u"word%1"_s.arg(i));
    words.insert(20, u"src/main.c"_s);
    words.insert(120, u"README"_s);
    words.insert(180, u"Makefile"_s);
    return words.join(u' ');
}

void guess(benchmark::State &state, const QString &text)
{
    Fixture &f = fixture();
    MatchingEngine engine(f.plugins.get());
    const Context selection{{CTX_TEXT, text}, {CTX_DIR, f.project + u'/'}};
    const CpuTimes before = CpuTimes::now();
    for (auto _ : state)
        benchmark::DoNotOptimize(engine.matchContext(selection));
    const CpuTimes after = CpuTimes::now();
    const double guesses = double(state.iterations());
    state.SetItemsProcessed(state.iterations());
    state.counters["self_cpu_us"] = (after.self - before.self) / guesses;
    state.counters["children_cpu_us"] = (after.children - before.children) / guesses;
}

} // namespace

BENCHMARK_CAPTURE(guess, word, u"lookup"_s)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(guess, expression, u"(12*7)/3"_s)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(guess, url_paragraph,
                  u"Read https://example.org/docs, www.example.com/a and <ftp://ftp.gnu.org/gnu>."_s)
    ->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(guess, compiler_error, u"src/main.c:12:5: error: expected ';' before '}'"_s)
    ->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(guess, paragraph_with_three_paths, paragraph())->Unit(benchmark::kMicrosecond)->UseRealTime();

int main(int argc, char **argv)
{
    return glimra::bench::runBenchmarks(argc, argv);
}
