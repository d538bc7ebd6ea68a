// The facts document and the live samples of a capture ("facts.json", then "live.json",
// separated by a "\n--\n" line), read back and put through the collectors and the live
// computation: what is read lies within real ranges and limits, and the text and Markdown
// reports of it carry no control character.
#include <tuple>
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzInput.h"

#include "service/Report.h"
#include "service/platform/FactLimits.h"
#include "service/platform/FactsJson.h"

using namespace orvane;

namespace {

void requireInRange(const MachineFacts& f) {
    const auto nonNegative = [](const auto& v) { return !v || *v >= 0; };
    const HardwareFacts& h = f.hardware;
    for (const auto* count : {&h.logicalProcessors, &h.performanceCores, &h.efficiencyCores})
        fuzz::require(!*count || (**count >= 0 && **count <= kMaxCores), "core counts in range");
    fuzz::require(nonNegative(h.memoryBytes) && f.installedMemory >= 0, "memory not negative");
    fuzz::require(h.uptime >= 0, "uptime not negative");
    fuzz::require(f.power.batteries.size() <= kMaxBatteries && f.volumes.size() <= kMaxVolumes &&
                      f.graphics.size() <= kMaxGpus,
                  "lists within their limits");
    std::size_t displays = 0;
    for (const GpuFacts& g : f.graphics)
        displays += g.displays.size();
    fuzz::require(displays <= kMaxDisplays, "displays within their limit");
    for (const BatteryFacts& b : f.power.batteries)
        fuzz::require(nonNegative(b.designCapacity) && nonNegative(b.fullCapacity) &&
                          nonNegative(b.currentCapacity) && nonNegative(b.cycleCount),
                      "capacities and cycles not negative");
    for (const VolumeFacts& v : f.volumes)
        fuzz::require(nonNegative(v.totalBytes) && nonNegative(v.freeBytes),
                      "volume sizes not negative");
}

// No byte below 0x20 or DEL, no C1 control and no reordering mark reaches a terminal.
void requireNoControls(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        fuzz::require(c >= 0x20 ? c != 0x7F : c == '\n', "no control byte in a report");
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        const auto third = i + 2 < text.size() ? static_cast<unsigned char>(text[i + 2]) : 0;
        fuzz::require(!(c == 0xC2 && next >= 0x80 && next <= 0x9F), "no C1 control in a report");
        fuzz::require(!(c == 0xE2 && next == 0x80 &&
                        (third == 0x8E || third == 0x8F || (third >= 0xAA && third <= 0xAE))) &&
                          !(c == 0xE2 && next == 0x81 && third >= 0xA6 && third <= 0xA9),
                      "no reordering mark in a report");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput in(data, size);
    const auto factsDoc = in.part();
    const auto liveDoc = in.part();

    std::int64_t memory = 0;
    double uptime = 0;
    Snapshot report;
    if (const auto facts = factsFromJson(factsDoc)) {
        requireInRange(*facts);
        fuzz::collectAll(facts->hardware, facts->power, facts->volumes, facts->graphics);
        report.hardware = collectHardware(facts->hardware);
        report.battery = collectBattery(facts->power);
        report.volumes = collectVolumes(facts->volumes);
        std::tie(report.displays, report.graphics) = collectDisplays(facts->graphics);
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
    report.live = metrics;
    // The same part read as a capture's sensor samples.
    for (SensorInputs& sample : sensorSamplesFromJson(liveDoc))
        report.sensors = collectSensors(report.sensors, std::move(sample));
    requireNoControls(formatReport(report, ReportFormat::text));
    requireNoControls(formatReport(report, ReportFormat::markdown));
    return 0;
}
