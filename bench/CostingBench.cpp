#include "BenchData.h"
#include "costing/CostAnalysis.h"
#include "costing/OrderCosting.h"
#include "costing/PostCalc.h"
#include "costing/PostCalcTables.h"
#include "costing/SalesPrice.h"

#include <benchmark/benchmark.h>

using namespace kalkora;
using kalkora::bench::benchPlant;
using kalkora::bench::mixedOrder;

namespace {

// Costing plus report text of a mixed order; goal: at most 1 µs per operation (CPU time) at
// 10,000 and 100,000 operations. "perOperation" is that time.
void BM_CostOrder(benchmark::State& state)
{
    const CPlantData plant = benchPlant(20);
    const COrder order = mixedOrder(static_cast<int>(state.range(0)), 20);
    for (auto _ : state)
        benchmark::DoNotOptimize(costOrder(order, plant, "bench.auf", { 2003, 8, 4 }));
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["perOperation"] = benchmark::Counter(
        double(state.range(0)), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_CostOrder)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();

// The price scale costs the order once per quantity, without writing report text; it should
// cost no more than ten report costings of the same order.
void BM_PriceScale(benchmark::State& state)
{
    const CPlantData plant = benchPlant(20);
    const COrder order = mixedOrder(static_cast<int>(state.range(0)), 20);
    const std::vector<std::int32_t> quantities = defaultQuantities(order.quantityBase);
    for (auto _ : state)
        benchmark::DoNotOptimize(computePriceScale(order, plant, quantities));
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_PriceScale)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();

// The sales price scheme on the price scale: a handful of integer steps per quantity, so at
// most 5 % above BM_PriceScale of the same order and quantities (nine, as by default).
void BM_Quote(benchmark::State& state)
{
    const CPlantData plant = benchPlant(20);
    const COrder order = mixedOrder(static_cast<int>(state.range(0)), 20);
    const std::vector<std::int32_t> quantities = defaultQuantities(order.quantityBase);
    SalesScheme scheme;
    scheme.adminPct = Percent(1200);
    scheme.salesPct = Percent(600);
    scheme.profitPct = Percent(1500);
    scheme.cashDiscountPct = Percent(200);
    scheme.discountPct = Percent(1000);
    for (auto _ : state)
        benchmark::DoNotOptimize(computeQuote(computePriceScale(order, plant, quantities), scheme, Money(320000)));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Quote)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_BreakDownCosts(benchmark::State& state)
{
    const CPlantData plant = benchPlant(20);
    const COrder order = mixedOrder(static_cast<int>(state.range(0)), 20);
    for (auto _ : state)
        benchmark::DoNotOptimize(breakDownCosts(order, plant));
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_BreakDownCosts)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();

// Plan and actual of a mixed order with an actual for every operation, and its JSON: the
// command line's postcalc without the files. Compare with BM_BreakDownCosts and its JSON.
void BM_PostCalc(benchmark::State& state)
{
    const CPlantData plant = benchPlant(20);
    const COrder order = mixedOrder(static_cast<int>(state.range(0)), 20);
    std::vector<Actual> actuals;
    for (std::int32_t i = 0; i < order.operations.count(); ++i) {
        Actual& actual = actuals.emplace_back(Actual { i + 1, order.operations.at(i)->name, {} });
        actual.values[SetupTimeField] = 45;
        actual.values[MachineTimeField] = 2.3;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(postCalcJson(postCalculate(order, plant, 100, 97, actuals, std::nullopt)));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PostCalc)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_BreakdownJson(benchmark::State& state)
{
    const CPlantData plant = benchPlant(20);
    const COrder order = mixedOrder(static_cast<int>(state.range(0)), 20);
    for (auto _ : state)
        benchmark::DoNotOptimize(breakdownJson(breakDownCosts(order, plant)));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_BreakdownJson)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_WrapRemark(benchmark::State& state)
{
    std::string remark(static_cast<std::size_t>(state.range(0)), 'x');
    for (std::size_t i = 50; i < remark.size(); i += 80)
        remark.replace(i, 2, "\r\n");
    for (auto _ : state)
        benchmark::DoNotOptimize(wrapRemark(remark));
    state.SetBytesProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_WrapRemark)->Arg(1 << 10)->Arg(100 << 10)->Arg(1 << 20)->Complexity();

} // namespace
