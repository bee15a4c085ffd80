#include "BenchData.h"
#include "model/MasterDataFile.h"
#include "model/OrderFile.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <malloc.h>
#include <new>

using namespace kalkora;
using kalkora::bench::benchPlant;
using kalkora::bench::mixedOrder;

// Heap accounting for this program: the live bytes and their peak, so that a benchmark can
// report how much memory a decode needs beside its input.
namespace {

std::size_t liveBytes = 0;
std::size_t peakBytes = 0;

void* allocate(std::size_t size, std::size_t alignment = 0)
{
    void* block = alignment ? std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment)
                            : std::malloc(size == 0 ? 1 : size);
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
void* operator new(std::size_t size, std::align_val_t alignment)
{
    return allocate(size, std::size_t(alignment));
}
void operator delete(void* block, std::align_val_t) noexcept
{
    release(block);
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

// Decodes `bytes` once outside the timing to measure the heap: "peakMiB" is the most the decode
// holds at one time, "peakPerResult" that peak divided by what the decoded objects keep (1 means
// the decode needs nothing beyond its result; the input is only viewed, never copied).
template <typename Data, typename Decode>
void reportMemory(benchmark::State& state, const std::string& bytes, Decode decode)
{
    const std::size_t before = liveBytes;
    peakBytes = liveBytes;
    Data data;
    if (!decode(bytes, 1.0f, data).ok()) {
        state.SkipWithError("the benchmark's bytes do not decode");
        return;
    }
    const double kept = double(liveBytes - before);
    const double peak = double(peakBytes - before);
    state.counters["fileMiB"] = double(bytes.size()) / (1024.0 * 1024.0);
    state.counters["peakMiB"] = peak / (1024.0 * 1024.0);
    state.counters["peakPerResult"] = peak / kept;
}

void BM_DecodeOrder(benchmark::State& state)
{
    const std::string bytes = encodeOrder(mixedOrder(int(state.range(0)), 7));
    for (auto _ : state) {
        COrder order;
        benchmark::DoNotOptimize(decodeOrder(bytes, 1.0f, order));
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes.size()));
    reportMemory<COrder>(state, bytes, [](auto&&... args) { return decodeOrder(args...); });
}

void BM_EncodeOrder(benchmark::State& state)
{
    const COrder order = mixedOrder(int(state.range(0)), 7);
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
    reportMemory<CPlantData>(state, bytes, [](auto&&... args) { return decodeMasterData(args...); });
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
