// Cost of the Linux platform on this machine: one live update (the sample read from /proc plus
// its computation, as updateLive has one taken every second on its work queue) and one full
// collection (hardware, battery, volumes, displays). Goals: under 30 µs and under 10 ms.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "service/Collectors.h"
#include "service/platform/linux/LinuxPlatform.h"

namespace {

using namespace orvane;

void BM_LinuxSampleLive(benchmark::State& state) {
    LinuxPlatform platform;
    for (auto _ : state)
        benchmark::DoNotOptimize(platform.sampleLive());
}
BENCHMARK(BM_LinuxSampleLive)->Unit(benchmark::kMicrosecond);

// updateLive: installed memory, the sample, and the computation from the previous one.
void BM_LinuxUpdateLive(benchmark::State& state) {
    LinuxPlatform platform;
    LiveSample previous = collectLive(LiveMetrics{}, {}, platform);
    std::vector<CpuTicks> ticks = previous.ticks.value_or(std::vector<CpuTicks>{});
    for (auto _ : state) {
        LiveSample next = collectLive(previous.metrics, ticks, platform);
        if (next.ticks) ticks = std::move(*next.ticks);
        previous.metrics = std::move(next.metrics);
        benchmark::DoNotOptimize(previous.metrics);
    }
}
BENCHMARK(BM_LinuxUpdateLive)->Unit(benchmark::kMicrosecond);

void fullCollection(benchmark::State& state, const Platform& platform) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(collectHardware(platform.hardware()));
        benchmark::DoNotOptimize(collectBattery(platform.power()));
        benchmark::DoNotOptimize(collectVolumes(platform.volumes()));
        benchmark::DoNotOptimize(collectDisplays(platform.graphics()));
    }
}

void BM_LinuxFullCollection(benchmark::State& state) {
    LinuxPlatform platform;
    platform.installedMemory();  // counted once per platform
    fullCollection(state, platform);
}
BENCHMARK(BM_LinuxFullCollection)->Unit(benchmark::kMillisecond);

// The same on the fake laptop, which has a battery, four volumes and two displays to read.
void BM_LinuxFullCollectionLaptopTree(benchmark::State& state) {
    LinuxPlatformOptions options;
    options.fsSpace = [](const std::string&) {
        return std::optional<FsSpace>(FsSpace{500'000'000'000, 200'000'000'000});
    };
    LinuxPlatform platform(std::filesystem::path(ORVANE_FIXTURES) / "linux" / "laptop", options);
    platform.installedMemory();
    fullCollection(state, platform);
}
BENCHMARK(BM_LinuxFullCollectionLaptopTree)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
