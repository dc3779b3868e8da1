// Time to gather a desktop search for a display name: over a folder tree of 100,000 files
// (walked), and over a plocate index of one million entries. The trees are made once in
// $TMPDIR/glimra-bench and reused by later runs.
#include "BenchSupport.h"

#include "foundation/ProcessRunner.h"
#include "platform/MetadataQuery.h"

#include <QCoreApplication>
#include <QFile>
#include <QSignalSpy>
#include <QStandardPaths>

#include <benchmark/benchmark.h>

using namespace glimra;
using namespace glimra::bench;
using namespace Qt::StringLiterals;

namespace {

const QString ByName = u"kMDItemDisplayName == \"target.c\""_s;
// What the "spotlight" action asks: no narrowing by the index is possible.
const QString ByWordAnyCase = u"kMDItemDisplayName CONTAINS[cd] \"TARGET\""_s;

void gather(benchmark::State &state, const QStringList &scopes, const QString &format = ByName)
{
    MetadataQuery query;
    query.setPredicate(*Predicate::predicateWithFormat(format));
    query.setSearchScopes(scopes);
    qsizetype hits = 0;
    for (auto _ : state) {
        QSignalSpy finished(&query, &MetadataQuery::didFinishGathering);
        query.startQuery();
        finished.wait(600000);
        hits = query.resultCount();
    }
    state.counters["hits"] = double(hits);
}

void folderWalk(benchmark::State &state)
{
    gather(state, {makeTree(u"tree100k"_s, 100, 1000)});
}

void locateIndex(benchmark::State &state, const QString &format)
{
    const QString updatedb = QStandardPaths::findExecutable(u"updatedb"_s);
    if (updatedb.isEmpty()) {
        state.SkipWithError("plocate is not installed");
        return;
    }
    const QString root = makeTree(u"tree1m"_s, 1000, 1000);
    const QString index = benchDir() + u"/tree1m.db"_s;
    if (!QFile::exists(index)) {
        ProcessRequest build;
        build.program = updatedb;
        build.arguments = {u"-U"_s, root, u"-o"_s, index};
        build.timeout = std::chrono::minutes(10);
        ProcessRunner::run(build);
    }
    qputenv("GLIMRA_LOCATE_DB", index.toLocal8Bit());
    gather(state, {MetadataQuery::LocalComputerScope}, format);
    qunsetenv("GLIMRA_LOCATE_DB");
}

} // namespace

BENCHMARK(folderWalk)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(locateIndex, by_name, ByName)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(locateIndex, by_word_any_case, ByWordAnyCase)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

int main(int argc, char **argv)
{
    return glimra::bench::runBenchmarks(argc, argv);
}
