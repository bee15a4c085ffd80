// The benchmark tree loaded and costed at the nine default quantities of its quantity base: the
// 1,000 distinct orders listed once (Arg 1) and ten times (Arg 10). Each order is costed once at
// each quantity it is needed at, so ten times the lines should cost little more than once; the
// JSON written is ten times as long either way.
#include "BenchAssembly.h"
#include "costing/AssemblyTables.h"
#include "documents/QuantityList.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <cstdlib>

namespace {

using namespace kalkora;

const QTemporaryDir& benchFolder()
{
    static const QTemporaryDir folder = [] {
        QTemporaryDir made;
        if (!bench::writeBenchAssemblies(QDir(made.path())))
            std::abort();
        return made;
    }();
    return folder;
}

QString treeFile(std::int64_t listed)
{
    return benchFolder().filePath(listed == 1 ? QStringLiteral("tree.bgr") : QStringLiteral("tree10.bgr"));
}

CPlantData benchMasterData()
{
    CPlantData plant;
    if (!files::loadMasterData(benchFolder().filePath(QStringLiteral("bench.sta")), 1.0f, plant).ok())
        std::abort();
    return plant;
}

void BM_LoadAndCostAssembly(benchmark::State& state)
{
    const CPlantData plant = benchMasterData();
    const QString file = treeFile(state.range(0));
    std::size_t lines = 0;
    for (auto _ : state) {
        AssemblyTree tree;
        if (!files::loadAssemblyTree(file, 1.0f, tree).ok())
            std::abort();
        lines = costAssembly(tree, plant, documents::startingQuantities(1)).structure.size();
    }
    state.counters["lines"] = double(lines);
}
BENCHMARK(BM_LoadAndCostAssembly)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_LoadAssemblyTree(benchmark::State& state)
{
    const QString file = treeFile(state.range(0));
    for (auto _ : state) {
        AssemblyTree tree;
        if (!files::loadAssemblyTree(file, 1.0f, tree).ok())
            std::abort();
        benchmark::DoNotOptimize(tree.root);
    }
}
BENCHMARK(BM_LoadAssemblyTree)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_AssemblyJson(benchmark::State& state)
{
    const CPlantData plant = benchMasterData();
    AssemblyTree tree;
    if (!files::loadAssemblyTree(treeFile(state.range(0)), 1.0f, tree).ok())
        std::abort();
    const AssemblyCosting costing = costAssembly(tree, plant, documents::startingQuantities(1));
    std::size_t bytes = 0;
    for (auto _ : state)
        bytes = assemblyJson(costing).size();
    state.counters["MiB"] = double(bytes) / (1024.0 * 1024.0);
}
BENCHMARK(BM_AssemblyJson)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

} // namespace
