// Decoding plus collecting each report of the portable Mac capture, and one live-sample
// computation. The replay platform reads its capture files once, at construction, so the
// timings cover copying the tool output, decoding it and building the records, not file I/O.
// Goals: each collector under 200 µs, one live-sample computation under 5 µs.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "service/Collectors.h"
#include "service/platform/ReplayPlatform.h"

namespace {

const orvane::ReplayPlatform& portable() {
    static const orvane::ReplayPlatform platform(std::string(ORVANE_FIXTURES) + "/mac-portable");
    return platform;
}

void BM_CollectHardware(benchmark::State& state) {
    const auto& platform = portable();
    for (auto _ : state)
        benchmark::DoNotOptimize(orvane::collectHardware(platform.hardware()));
}
BENCHMARK(BM_CollectHardware)->Unit(benchmark::kMicrosecond);

void BM_CollectBattery(benchmark::State& state) {
    const auto& platform = portable();
    for (auto _ : state)
        benchmark::DoNotOptimize(orvane::collectBattery(platform.power()));
}
BENCHMARK(BM_CollectBattery)->Unit(benchmark::kMicrosecond);

void BM_CollectVolumes(benchmark::State& state) {
    const auto& platform = portable();
    for (auto _ : state)
        benchmark::DoNotOptimize(orvane::collectVolumes(platform.volumes()));
}
BENCHMARK(BM_CollectVolumes)->Unit(benchmark::kMicrosecond);

void BM_CollectDisplays(benchmark::State& state) {
    const auto& platform = portable();
    for (auto _ : state)
        benchmark::DoNotOptimize(orvane::collectDisplays(platform.graphics()));
}
BENCHMARK(BM_CollectDisplays)->Unit(benchmark::kMicrosecond);

// One sample of a 16-processor machine with a valid previous sample.
void BM_ComputeLive16(benchmark::State& state) {
    std::vector<orvane::CpuTicks> prev(16);
    std::vector<orvane::CpuTicks> cur(16);
    for (std::uint32_t i = 0; i < 16; ++i) {
        prev[i] = {100000 + i, 50000, 800000, 10};
        cur[i] = {100030 + i * 7, 50010, 800050 + i, 20};
    }
    orvane::LiveInputs inputs;
    inputs.uptime = 93785.5;
    inputs.vm = orvane::VmStats{16384, 600000, 580000, 200000, 10000, 50000, 400000};
    inputs.swapUsed = 1073741824;
    inputs.cpuTicks = cur;
    orvane::LiveMetrics previous;
    previous.perCore.assign(16, 0.0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(orvane::computeLive(previous, prev, 34359738368, inputs));
    }
}
BENCHMARK(BM_ComputeLive16)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
