#include "model/MasterDataFile.h"
#include "model/OrderFile.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <malloc.h>
#include <new>

using namespace kalkora;

// Heap accounting for this program: the live bytes and their peak, so that a benchmark can
// report how much memory a decode needs beside its input.
namespace {

std::size_t liveBytes = 0;
std::size_t peakBytes = 0;

void* allocate(std::size_t size)
{
    void* block = std::malloc(size == 0 ? 1 : size);
    if (!block)
        throw std::bad_alloc();
    liveBytes += malloc_usable_size(block);
    peakBytes = std::max(peakBytes, liveBytes);
    return block;
}

void release(void* block) noexcept
{
    if (!block)
        return;
    liveBytes -= malloc_usable_size(block);
    std::free(block);
}

} // namespace

void* operator new(std::size_t size)
{
    return allocate(size);
}
void* operator new[](std::size_t size)
{
    return allocate(size);
}
void operator delete(void* block) noexcept
{
    release(block);
}
void operator delete[](void* block) noexcept
{
    release(block);
}
void operator delete(void* block, std::size_t) noexcept
{
    release(block);
}
void operator delete[](void* block, std::size_t) noexcept
{
    release(block);
}

namespace {

COrder benchOrder(int operations)
{
    COrder order;
    order.name = "Getriebewelle GW-40";
    order.remark = "Serie, Werkstoff 42CrMo4";
    order.quantityBase = 250;
    for (int i = 0; i < operations; ++i) {
        auto op = std::make_unique<COperation>();
        op->isInternal = i % 3 != 0;
        op->name = "Arbeitsgang " + std::to_string(i);
        op->machineName = op->isInternal ? "CNC-Drehzentrum " + std::to_string(i % 7) : "EXTERN";
        op->setupTimeMin = 30;
        op->lotSize = 250;
        op->shiftMode = i % 3;
        op->machineTimeMin = 2.5f;
        op->operatorTimeMin = 1.1f;
        op->machineUtilPct = 85;
        op->externalCostPerPiece = 1.5f;
        order.operations.add(std::move(op));
    }
    return order;
}

CPlantData benchPlant(int machines)
{
    CPlantData plant;
    plant.workDaysPerYear = 250;
    plant.hoursPerShift = 8;
    plant.rentPerSqmYear = 60;
    for (int i = 0; i < machines; ++i) {
        auto machine = std::make_unique<CMachine>();
        machine->name = "Maschine " + std::to_string(i);
        machine->purchaseCost = 1000.0f * float(i % 500);
        machine->usefulLifeYears = 10;
        machine->floorAreaSqm = 12;
        plant.machines.add(std::move(machine));
    }
    return plant;
}

// Decodes `bytes` once outside the timing to measure the heap: "peakMiB" is the most the decode
// holds at one time, "peakPerResult" that peak divided by what the decoded objects keep (1 means
// the decode needs nothing beyond its result; the input is only viewed, never copied).
template <typename Data, typename Decode>
void reportMemory(benchmark::State& state, const std::string& bytes, Decode decode)
{
    const std::size_t before = liveBytes;
    peakBytes = liveBytes;
    Data data;
    decode(bytes, 1.0f, data);
    const double kept = double(liveBytes - before);
    const double peak = double(peakBytes - before);
    state.counters["fileMiB"] = double(bytes.size()) / (1024.0 * 1024.0);
    state.counters["peakMiB"] = peak / (1024.0 * 1024.0);
    state.counters["peakPerResult"] = peak / kept;
}

void BM_DecodeOrder(benchmark::State& state)
{
    const std::string bytes = encodeOrder(benchOrder(int(state.range(0))));
    for (auto _ : state) {
        COrder order;
        benchmark::DoNotOptimize(decodeOrder(bytes, 1.0f, order));
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes.size()));
    reportMemory<COrder>(state, bytes, decodeOrder);
}

void BM_EncodeOrder(benchmark::State& state)
{
    const COrder order = benchOrder(int(state.range(0)));
    std::size_t size = 0;
    for (auto _ : state) {
        const std::string bytes = encodeOrder(order);
        size = bytes.size();
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(size));
}

void BM_DecodeMasterData(benchmark::State& state)
{
    const std::string bytes = encodeMasterData(benchPlant(int(state.range(0))));
    for (auto _ : state) {
        CPlantData plant;
        benchmark::DoNotOptimize(decodeMasterData(bytes, 1.0f, plant));
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes.size()));
    reportMemory<CPlantData>(state, bytes, decodeMasterData);
}

void BM_EncodeMasterData(benchmark::State& state)
{
    const CPlantData plant = benchPlant(int(state.range(0)));
    std::size_t size = 0;
    for (auto _ : state) {
        const std::string bytes = encodeMasterData(plant);
        size = bytes.size();
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(size));
}

} // namespace

BENCHMARK(BM_DecodeOrder)->Arg(10'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeOrder)->Arg(10'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeMasterData)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeMasterData)->Arg(100'000)->Unit(benchmark::kMillisecond);
