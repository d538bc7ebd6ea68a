// The Linux file parsers: the first byte chooses the parser, the rest is the file. The power
// supplies take their readings as raw numbers instead, to reach every arithmetic path.
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzInput.h"
#include "service/Utf8.h"
#include "service/platform/linux/DrmClients.h"
#include "service/platform/linux/Edid.h"
#include "service/platform/linux/MountInfo.h"
#include "service/platform/linux/OsRelease.h"
#include "service/platform/linux/PciIds.h"
#include "service/platform/linux/PowerSupplies.h"
#include "service/platform/linux/ProcCounters.h"
#include "service/platform/linux/SysText.h"
#include "service/platform/linux/Throughput.h"

using namespace orvane;

namespace {

std::optional<std::int64_t> reading(fuzz::FuzzInput& in) {
    const std::uint8_t kind = in.byte();
    if (kind % 3 == 0) return std::nullopt;
    if (kind % 3 == 1) return static_cast<std::int64_t>(in.take<std::int16_t>()) * 1000;
    return in.take<std::int64_t>();
}

void powerSupplies(fuzz::FuzzInput& in) {
    static const char* const kStatus[] = {"Charging", "Discharging", "Full", "Not charging",
                                          "Unknown"};
    PowerSupplies supplies;
    if (const std::uint8_t e = in.byte() % 3; e < 2) supplies.externalOnline = e == 1;
    const int count = in.byte() % 4;
    for (int k = 0; k < count; ++k) {
        PowerSupplies::Battery b;
        b.status = kStatus[in.byte() % 5];
        for (auto* field :
             {&b.capacityPercent, &b.cycleCount, &b.voltageNow, &b.voltageMinDesign, &b.currentNow,
              &b.powerNow, &b.chargeFullDesign, &b.chargeFull, &b.chargeNow, &b.energyFullDesign,
              &b.energyFull, &b.energyNow, &b.temp, &b.timeToEmpty, &b.timeToFull})
            *field = reading(in);
        supplies.batteries.push_back(std::move(b));
    }
    const PowerFacts facts = supplies.facts();
    if (facts.timeRemaining)
        fuzz::require(*facts.timeRemaining >= 1 && *facts.timeRemaining < 65535,
                      "a time remaining is a real estimate");
    fuzz::collectAll({}, facts, {}, {});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput in(data, size);
    const std::uint8_t which = in.byte();
    if (which % 8 == 7) {
        powerSupplies(in);
        return 0;
    }
    const std::string_view text = in.text();
    switch (which % 8) {
        case 0:
            for (const MountInfo& m : MountInfo::parse(text))
                (void)m;
            break;
        case 1: {
            const auto info = ProcCounters::parseMemInfo(text, 1u << (which / 8 % 20));
            fuzz::require(info.memTotalBytes <= (std::uint64_t{1} << 62),
                          "the memory total keeps within 64 signed bits");
            break;
        }
        case 2: {
            // The counters read every second: /proc/stat, /proc/net/dev, /proc/diskstats and
            // the DRM clients' fdinfo.
            std::vector<CpuTicks> ticks;
            ProcCounters::parseCpuTicks(text, ticks);
            std::vector<NetworkCounters> net;
            Throughput::parseNetDev(text, net);
            std::vector<DiskCounters> disks;
            Throughput::parseDiskStats(text, disks);
            (void)parseDrmFdinfo(text);
            break;
        }
        case 3:
            (void)Edid::parse(
                std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
            break;
        case 4:
            (void)OsRelease::parse(text).get("VERSION_ID");
            break;
        case 5:
            (void)PciIds::lookup(text, 0x10de, 0x2684);
            (void)PciIds::lookup(text, in.take<std::uint16_t>(), in.take<std::uint16_t>());
            break;
        default:
            (void)SysText::cpuListCount(text);
            (void)SysText::clean(text);
            (void)Utf8::replaceInvalid(text);
            (void)SysText::parseSigned(text);
            (void)SysText::parseHex(text);
            break;
    }
    return 0;
}
