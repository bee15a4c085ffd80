#include "costing/OrderCosting.h"

#include <benchmark/benchmark.h>

using namespace kalkora;

namespace {

CPlantData benchPlant()
{
    CPlantData plant;
    plant.workDaysPerYear = 250;
    plant.hoursPerShift = 8;
    plant.interestRatePct = 6;
    plant.operatorVarRate12 = 25;
    plant.operatorFixedRate12 = 15;
    plant.computeHoursPerYear();
    for (int i = 0; i < 20; ++i) {
        auto machine = std::make_unique<CMachine>();
        machine->name = "Maschine " + std::to_string(i);
        machine->purchaseCost = 10000.0f * i;
        machine->usefulLifeYears = 10;
        plant.computeMachineRates(*machine);
        plant.machines.add(std::move(machine));
    }
    return plant;
}

// Every third operation is bought in; the others run on one of the machines in all shift modes.
COrder mixedOrder(int operations)
{
    COrder order;
    order.name = "Benchmark";
    order.remark = std::string(200, 'r');
    order.quantityBase = 100;
    for (int i = 0; i < operations; ++i) {
        auto op = std::make_unique<COperation>();
        op->name = "AG " + std::to_string(i);
        op->isInternal = i % 3 == 0 ? 0 : 1;
        op->machineName = op->isInternal ? "Maschine " + std::to_string(i % 20) : "EXTERN";
        op->externalCostPerPiece = 1.5f;
        op->externalLotSize = 100;
        op->lotSize = 100;
        op->shiftMode = i % 3;
        op->setupTimeMin = 30;
        op->machineTimeMin = 2;
        op->operatorTimeMin = 1;
        op->machineUtilPct = 80;
        op->materialUtilPct = 50;
        op->materialWeightKg = 0.5f;
        op->materialPricePerKg = 2;
        order.operations.add(std::move(op));
    }
    return order;
}

void BM_CostOrder(benchmark::State& state)
{
    const CPlantData plant = benchPlant();
    const COrder order = mixedOrder(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(costOrder(order, plant, "bench.auf", { 2003, 8, 4 }));
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_CostOrder)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();

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
