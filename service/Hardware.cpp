// Hardware and OS information: the hardware and memory reports, sw_vers, kernel values and
// process information, each field with its fallback.
#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>
#include <vector>

#include "service/Collectors.h"
#include "service/Fmt.h"
#include "service/Values.h"

namespace orvane {

namespace {

std::vector<std::uint8_t> profilerReport(const Platform& platform, const char* dataType) {
    return platform.runData(kSystemProfiler, {dataType, "-json"});
}

// The runs of ASCII digits of `text`, each through the strict decimal parse; runs that do
// not parse (too large) are dropped.
std::vector<std::int64_t> digitRuns(std::string_view text) {
    std::vector<std::int64_t> numbers;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] < '0' || text[i] > '9') {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && text[end] >= '0' && text[end] <= '9')
            ++end;
        if (auto n = parseDecimal(text.substr(i, end - i))) numbers.push_back(*n);
        i = end;
    }
    return numbers;
}

std::string lowerAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Fields read from the first item of the hardware report.
void readHardwareItem(const Platform& platform, const Value& item, HardwareInfo& hw) {
    const std::string* machineName = item.getString("machine_name");
    const std::string* machineModel = item.getString("machine_model");
    if (machineName) {
        hw.modelName = *machineName;
    } else if (machineModel) {
        hw.modelName = *machineModel;
    } else {
        hw.modelName = "Mac";
    }
    hw.modelIdentifier = machineModel ? *machineModel : std::string();

    if (const std::string* chip = item.getString("chip_type")) {
        hw.chip = *chip;
    } else {
        hw.chip = platform.sysctlString("machdep.cpu.brand_string");
    }

    const std::string* serial = item.getString("serial_number");
    hw.serialNumber = serial ? *serial : std::string();

    const std::string* memory = item.getString("physical_memory");
    hw.memoryGB = memory ? *memory : std::string();

    // "proc 12:8:4" is total, performance and efficiency cores; "proc 8" is the total only.
    if (const std::string* processors = item.getString("number_processors")) {
        std::vector<std::int64_t> numbers = digitRuns(*processors);
        if (numbers.size() >= 3) {
            hw.totalCores = numbers[0];
            hw.performanceCores = numbers[1];
            hw.efficiencyCores = numbers[2];
        } else if (!numbers.empty()) {
            hw.totalCores = numbers[0];
        }
    }
}

std::string memoryType(const Platform& platform) {
    const std::optional<Value> root =
        decodeJsonObject(profilerReport(platform, "SPMemoryDataType"));
    const Value* mem = firstItem(root, "SPMemoryDataType");
    if (!mem) return "Unified Memory";
    if (const std::string* type = mem->getString("dimm_type")) return *type;
    if (const std::string* maker = mem->getString("dimm_manufacturer"); maker && !maker->empty()) {
        return *maker;
    }
    if (const Value* items = mem->get("_items"); items && items->isArrayOfObjects()) {
        const Value::Array& modules = *items->asArray();
        if (!modules.empty()) {
            if (const std::string* type = modules.front().getString("dimm_type")) return *type;
        }
    }
    return "Unified Memory";
}

std::string versionText(const OsVersion& v) {
    std::string text = std::to_string(v.major);
    text += '.';
    text += std::to_string(v.minor);
    if (v.patch >= 1) {
        text += '.';
        text += std::to_string(v.patch);
    }
    return text;
}

}  // namespace

std::string macOSName(std::int64_t major) {
    switch (major) {
        case 11:
            return "macOS Big Sur";
        case 12:
            return "macOS Monterey";
        case 13:
            return "macOS Ventura";
        case 14:
            return "macOS Sonoma";
        case 15:
            return "macOS Sequoia";
        case 26:
            return "macOS Tahoe";
        default:
            return "macOS";
    }
}

HardwareInfo collectHardware(const Platform& platform) {
    HardwareInfo hw;

    const std::optional<Value> root =
        decodeJsonObject(profilerReport(platform, "SPHardwareDataType"));
    if (const Value* item = firstItem(root, "SPHardwareDataType")) {
        readHardwareItem(platform, *item, hw);
    }

    if (hw.totalCores == 0) hw.totalCores = platform.sysctlInt("hw.ncpu");
    if (hw.memoryGB.empty()) {
        // A failed read answers 0: leave the field empty rather than claim "0 GB".
        const std::int64_t memsize = platform.sysctlInt("hw.memsize");
        if (memsize >= 1) hw.memoryGB = Fmt::bytesGB(memsize);
    }

    hw.memoryType = memoryType(platform);

    if (hw.modelIdentifier.empty()) hw.modelIdentifier = platform.sysctlString("hw.model");
    hw.isLaptop = lowerAscii(hw.modelIdentifier).find("macbook") != std::string::npos;
    // A PC's identifier never names a MacBook: there the system's form factor decides.
    if (const std::optional<bool> portable = platform.isPortable()) hw.isLaptop = *portable;

    // A non-Mac system names itself; on a Mac the name comes from the major version.
    const OsVersion version = platform.osVersion();
    if (std::optional<std::string> text = platform.osVersionText()) {
        hw.macOSVersion = *text;
    } else if (version != OsVersion{}) {
        // 0.0.0 is the platform's answer for a version it could not read.
        hw.macOSVersion = versionText(version);
    }
    if (std::optional<std::string> name = platform.osName()) {
        hw.macOSName = *name;
    } else {
        hw.macOSName = macOSName(version.major);
    }

    hw.macOSBuild = platform.run(kSwVers, {"-buildVersion"});
    hw.uptime = platform.uptime();
    hw.hostname = platform.hostName();
    return hw;
}

}  // namespace orvane
