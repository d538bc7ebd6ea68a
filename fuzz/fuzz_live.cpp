// The live computation over a sequence of fuzzed counters: wraps, zeros, huge values and a
// changing number of processors.
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzInput.h"

using namespace orvane;

namespace {

void checkMetrics(const LiveMetrics& m) {
    using fuzz::require;
    const double parts[] = {m.cpuUserPct, m.cpuSystemPct, m.cpuIdlePct};
    for (double p : parts)
        require(fuzz::finite(p) && p >= 0 && p <= 100.0000001, "load shares are 0...100 %");
    for (double c : m.perCore)
        require(fuzz::finite(c) && c >= 0 && c <= 1, "a processor's load is 0...1");
    require(fuzz::finite(m.memPressure) && m.memPressure >= 0 && m.memPressure <= 1,
            "memory pressure is 0...1");
    const std::int64_t sizes[] = {m.memUsedBytes,       m.memAppBytes,    m.memWiredBytes,
                                  m.memCompressedBytes, m.memCachedBytes, m.swapUsedBytes};
    for (std::int64_t b : sizes)
        require(b >= 0, "memory sizes are not negative");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput in(data, size);
    const auto memTotal = in.take<std::int64_t>();
    LiveMetrics metrics;
    std::vector<CpuTicks> ticks;
    for (int step = 0; step < 16 && !in.empty(); ++step) {
        const std::uint8_t flags = in.byte();
        LiveInputs inputs;
        inputs.uptime = in.take<double>();
        if (flags & 1) {
            VmStats vm;
            vm.pageSize = in.take<std::uint64_t>();
            vm.active = in.take<std::uint64_t>();
            vm.inactive = in.take<std::uint64_t>();
            vm.wire = in.take<std::uint64_t>();
            vm.purgeable = in.take<std::uint64_t>();
            vm.compressor = in.take<std::uint64_t>();
            vm.external = in.take<std::uint64_t>();
            inputs.vm = vm;
        }
        if (flags & 2) inputs.swapUsed = in.take<std::uint64_t>();
        if (flags & 4) {
            std::vector<CpuTicks> now(in.byte() % 65);
            for (CpuTicks& t : now)
                t = in.take<CpuTicks>();  // any counters: wraps and standstills included
            inputs.cpuTicks = std::move(now);
        }
        LiveSample s = computeLive(metrics, ticks, memTotal, inputs);
        checkMetrics(s.metrics);
        metrics = std::move(s.metrics);
        if (s.ticks) ticks = std::move(*s.ticks);
    }
    return 0;
}
