// The facts document and the live samples of a capture ("facts.json", then "live.json",
// separated by a "\n--\n" line), read back and put through the collectors and the live
// computation.
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzInput.h"
#include "service/platform/FactsJson.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput in(data, size);
    const auto factsDoc = in.part();
    const auto liveDoc = in.part();

    std::int64_t memory = 0;
    double uptime = 0;
    if (const auto facts = factsFromJson(factsDoc)) {
        fuzz::collectAll(facts->hardware, facts->power, facts->volumes, facts->graphics);
        // What is read back is written the same way again.
        const std::string again = factsToJson(*facts);
        const auto bytes =
            std::span(reinterpret_cast<const std::uint8_t*>(again.data()), again.size());
        fuzz::require(factsFromJson(bytes) == facts, "facts survive a write and a read");
        memory = facts->installedMemory;
        uptime = facts->hardware.uptime;
    }

    LiveMetrics metrics;
    std::vector<CpuTicks> ticks;
    for (const LiveInputs& sample : liveSamplesFromJson(liveDoc, uptime)) {
        LiveSample s = computeLive(metrics, ticks, memory, sample);
        metrics = std::move(s.metrics);
        if (s.ticks) ticks = std::move(*s.ticks);
    }
    return 0;
}
