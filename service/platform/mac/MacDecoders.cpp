#include "service/platform/mac/MacDecoders.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "service/Shell.h"
#include "service/Values.h"

namespace orvane {

namespace {

// ---- text helpers ----------------------------------------------------------------------

std::string upperAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

bool equalsIgnoringCase(const std::string& text, std::string_view word) {
    return std::equal(
        text.begin(), text.end(), word.begin(), word.end(),
        [](unsigned char a, unsigned char b) { return std::tolower(a) == std::tolower(b); });
}

// Every occurrence of `token` removed.
std::string strip(std::string text, std::string_view token) {
    if (token.empty()) return text;
    std::size_t pos = 0;
    while ((pos = text.find(token, pos)) != std::string::npos)
        text.erase(pos, token.size());
    return text;
}

bool isWordBreak(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Every word (a run between spaces, tabs or line breaks) with an upper-case first letter
// and a lower-case rest. The report's tokens are ASCII; other bytes are kept as they are.
std::string capitalised(std::string text) {
    bool wordStart = true;
    for (char& c : text) {
        if (isWordBreak(c)) {
            wordStart = true;
            continue;
        }
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x80) c = static_cast<char>(wordStart ? std::toupper(u) : std::tolower(u));
        wordStart = false;
    }
    return text;
}

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

std::optional<std::string> stringOf(const Value& object, std::string_view key) {
    const std::string* s = object.getString(key);
    return s ? std::optional<std::string>(*s) : std::nullopt;
}

// A boolean member; false when absent or not a boolean.
bool boolOf(const Value& object, std::string_view key) {
    const Value* v = object.get(key);
    const bool* b = v ? v->asBool() : nullptr;
    return b && *b;
}

std::int64_t intMember(const Value& object, std::string_view key) {
    return intOf(object.get(key));
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

// "87%" -> 87: only the digits are kept (a decimal point is dropped too).
std::optional<double> digitsValue(const std::string& text) {
    std::string digits;
    for (char c : text) {
        if (c >= '0' && c <= '9') digits += c;
    }
    std::optional<std::int64_t> n = parseDecimal(digits);
    if (!n) return std::nullopt;
    return static_cast<double>(*n);
}

// ---- hardware --------------------------------------------------------------------------

std::vector<std::uint8_t> profilerReport(const MacSource& source, const char* dataType) {
    return source.runData(kSystemProfiler, {dataType, "-json"});
}

// The tiers of "proc 12:8:4" after the total, fastest first: performance, efficiency and, on
// current chips, a further tier ("proc 18:6:0:12" has 6 in the first, none in the second and
// 12 in the fourth). The second count shown is the efficiency tier, else the further one; a
// split that leaves cores out, or needs three counts, is not shown at all.
std::optional<std::pair<std::int64_t, std::int64_t>> coreSplit(
    const std::vector<std::int64_t>& numbers) {
    if (numbers.size() < 3) return std::nullopt;
    const std::int64_t total = numbers[0];
    std::int64_t second = 0;
    std::int64_t sum = numbers[1];
    for (std::size_t i = 2; i < numbers.size() && sum != total; ++i) {
        if (numbers[i] == 0) continue;
        if (second != 0) return std::nullopt;
        second = numbers[i];
        sum = saturatingAdd(sum, second);
    }
    if (sum != total) return std::nullopt;
    return std::pair{numbers[1], second};
}

void readHardwareItem(const MacSource& source, const Value& item, HardwareFacts& hw) {
    const std::optional<std::string> machineName = stringOf(item, "machine_name");
    const std::optional<std::string> machineModel = stringOf(item, "machine_model");
    hw.modelName = machineName ? machineName : machineModel;
    if (machineModel && !machineModel->empty()) hw.modelIdentifier = machineModel;
    hw.chip = stringOf(item, "chip_type");
    if (!hw.chip) hw.chip = source.sysctlString("machdep.cpu.brand_string");
    hw.serial = stringOf(item, "serial_number");
    hw.memoryText = stringOf(item, "physical_memory");

    // Apple silicon words it "proc 12:8:4" (total, then the tiers; "proc 8" is the total only);
    // Intel and virtual Macs give the number of physical cores.
    const Value* processors = item.get("number_processors");
    if (const std::int64_t* count = processors ? processors->asInt() : nullptr) {
        if (*count > 0) hw.logicalProcessors = *count;
    } else if (const std::string* text = processors ? processors->asString() : nullptr) {
        const std::vector<std::int64_t> numbers = digitRuns(*text);
        if (!numbers.empty() && numbers[0] != 0) hw.logicalProcessors = numbers[0];
        if (const auto split = coreSplit(numbers)) {
            hw.performanceCores = split->first;
            hw.efficiencyCores = split->second;
        }
    }
}

// An Intel Mac: its chip or processor text says so, or its identifier is of a family from
// before Apple silicon ("MacBookPro16,1", "iMacPro1,1"; "MacBookPro17,1" is an M1).
bool isIntelMac(const HardwareFacts& hw, const std::string* processorText) {
    const auto saysIntel = [](const std::string& text) {
        return Shell::lowerAscii(text).find("intel") != std::string::npos;
    };
    if ((hw.chip && saysIntel(*hw.chip)) || (processorText && saysIntel(*processorText))) {
        return true;
    }
    // Family, and the first major number of Apple silicon in it (0: none).
    static constexpr std::pair<std::string_view, std::int64_t> kFamilies[] = {
        {"macbookair", 10}, {"macbookpro", 17}, {"macbook", 0}, {"macmini", 9},
        {"imacpro", 0},     {"imac", 21},       {"macpro", 0},  {"xserve", 0}};
    const std::string id = Shell::lowerAscii(hw.modelIdentifier.value_or(""));
    for (const auto& [family, firstAppleSilicon] : kFamilies) {
        const std::string_view rest =
            std::string_view(id).substr(std::min(family.size(), id.size()));
        if (id.rfind(family, 0) != 0 || rest.empty() || rest[0] < '0' || rest[0] > '9') continue;
        const std::vector<std::int64_t> numbers = digitRuns(rest);
        return firstAppleSilicon == 0 || numbers.empty() || numbers.front() < firstAppleSilicon;
    }
    return false;
}

// "lp_ddr4" (an M1 on macOS 11) reads "LPDDR4"; "ddr4" reads "DDR4". Other texts stay as
// they are.
std::string memoryTypeText(const std::string& type) {
    std::string compact;
    for (char c : type) {
        if (c != '_') compact += c;
    }
    compact = Shell::lowerAscii(compact);
    std::string_view rest = compact;
    if (rest.rfind("lp", 0) == 0) rest.remove_prefix(2);
    if (rest.rfind("ddr", 0) != 0) return type;
    rest.remove_prefix(3);
    if (!rest.empty() && rest.back() == 'x') rest.remove_suffix(1);
    const bool generation = !rest.empty() && std::all_of(rest.begin(), rest.end(), [](char c) {
        return c >= '0' && c <= '9';
    });
    return generation ? upperAscii(compact) : type;
}

std::optional<std::string> reportedMemoryType(const MacSource& source) {
    const std::optional<Value> root = decodeJsonObject(profilerReport(source, "SPMemoryDataType"));
    const Value* mem = firstItem(root, "SPMemoryDataType");
    if (!mem) return std::nullopt;
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
    return std::nullopt;
}

std::optional<std::string> memoryType(const MacSource& source) {
    std::optional<std::string> type = reportedMemoryType(source);
    if (type) type = memoryTypeText(*type);
    return type;
}

// ---- battery ---------------------------------------------------------------------------

// A registry value at the top of the entry, else in its nested "BatteryData" dictionary
// (where newer systems keep the raw capacities); 0 when neither has it.
std::int64_t registryInt(const Value& entry, std::string_view key) {
    if (const Value* v = entry.get(key)) return intOf(v);
    if (const Value* data = entry.getObject("BatteryData")) return intMember(*data, key);
    return 0;
}

void readRegistry(const Value& entry, BatteryFacts& b, PowerFacts& power) {
    b.installed = boolOf(entry, "BatteryInstalled");
    b.cycleCount = intMember(entry, "CycleCount");
    b.designCycleCount = intMember(entry, "DesignCycleCount9C");
    const std::int64_t design = registryInt(entry, "DesignCapacity");
    b.designCapacity = design;

    // The raw keys hold mAh. On Apple-silicon Macs the plain keys are percentages: one of 100
    // or less beside a design capacity above 100 is never taken for mAh.
    const auto isPercentage = [&](std::int64_t plain) { return plain <= 100 && design > 100; };
    b.fullCapacity = registryInt(entry, "AppleRawMaxCapacity");
    if (*b.fullCapacity < 1) {
        const std::int64_t plain = intMember(entry, "MaxCapacity");
        b.fullCapacity = isPercentage(plain) ? registryInt(entry, "NominalChargeCapacity") : plain;
    }
    b.currentCapacity = registryInt(entry, "AppleRawCurrentCapacity");
    if (*b.currentCapacity < 1) {
        const std::int64_t plain = intMember(entry, "CurrentCapacity");
        if (isPercentage(plain) && entry.get("CurrentCapacity")) {
            // Then it is the state of charge itself.
            b.currentCapacity = 0;
            if (plain > 0) b.chargePercent = static_cast<double>(plain);
        } else {
            b.currentCapacity = plain;
        }
    }
    b.charging = boolOf(entry, "IsCharging");
    b.fullyCharged = boolOf(entry, "FullyCharged");
    // A reading the registry does not hold is not known (not 0 °C, 0 V, 0 A).
    const auto scaled = [&](std::string_view key, double unit) -> std::optional<double> {
        if (!entry.get(key)) return std::nullopt;
        return static_cast<double>(intMember(entry, key)) / unit;
    };
    b.temperature = scaled("Temperature", 100.0);
    b.voltage = scaled("Voltage", 1000.0);
    b.current = scaled("Amperage", 1000.0);
    if (!entry.get("CycleCount")) b.cycleCount.reset();
    b.serial = stringOf(entry, "Serial");
    power.externalPower = boolOf(entry, "ExternalConnected");
    if (entry.get("TimeRemaining")) power.timeRemaining = intMember(entry, "TimeRemaining");
}

// The power report's items; the last one that says a thing wins.
void readPowerItem(const Value& item, BatteryFacts& b) {
    if (const Value* health = item.getObject("sppower_battery_health_info")) {
        if (const std::string* condition = health->getString("sppower_battery_health")) {
            b.condition = *condition;
        }
        if (b.cycleCount.value_or(0) == 0) {
            b.cycleCount = intMember(*health, "sppower_battery_cycle_count");
        }
        if (const std::string* maximum =
                health->getString("sppower_battery_health_maximum_capacity")) {
            if (std::optional<double> percent = digitsValue(*maximum); percent && *percent > 0) {
                b.healthPercent = *percent;
            }
        }
    }
    if (const Value* charge = item.getObject("sppower_battery_charge_info")) {
        const std::int64_t soc = intMember(*charge, "sppower_battery_state_of_charge");
        if (soc > 0) b.chargePercent = static_cast<double>(soc);
        if (const std::string* full = charge->getString("sppower_battery_fully_charged")) {
            b.fullyCharged = upperAscii(*full) == "TRUE";
        }
    }
}

// ---- volumes ---------------------------------------------------------------------------

// The drive description decides internal or external; without one the volume stays
// internal. Reports name it "spstorage_physical_drive" or "physical_drive".
bool isInternal(const Value& item) {
    const Value* drive = item.getObject("spstorage_physical_drive");
    if (!drive) drive = item.getObject("physical_drive");
    if (!drive) return true;
    const std::string* internal = drive->getString("is_internal_disk");
    return internal && equalsIgnoringCase(*internal, "yes");
}

// ---- graphics and displays -------------------------------------------------------------

// "spdisplays_built-in_retina_lcd" -> "Built-in Retina LCD", "spdisplays_airplay" (an iPad
// as a second display) -> "AirPlay": words capitalised, the known ones spelt as people do.
std::string readableType(const std::string& token) {
    static constexpr std::pair<std::string_view, std::string_view> kWords[] = {
        {"Airplay", "AirPlay"}, {"Displayport", "DisplayPort"},
        {"Hdmi", "HDMI"},       {"Dvi", "DVI"},
        {"Vga", "VGA"},         {"Usb", "USB"},
        {"Lcd", "LCD"},         {"Xdr", "XDR"}};
    std::string text = strip(token, "spdisplays_");
    std::replace(text.begin(), text.end(), '_', ' ');
    text = capitalised(std::move(text));
    std::string out;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(' ', start), text.size());
        std::string_view word = std::string_view(text).substr(start, end - start);
        for (const auto& [seen, spelt] : kWords) {
            if (word == seen) word = spelt;
        }
        out += word;
        if (end < text.size()) out += ' ';
        start = end + 1;
    }
    return out;
}

// The Metal version a report's token stands for: "metal3" is "Metal 3"; the GPU families
// older systems name ("mtlgpufamilyapple7", "mtlgpufamilymac2") give the version their
// processors support. Nothing for other tokens.
std::optional<std::string> metalVersion(const std::string& token) {
    const std::string text = Shell::lowerAscii(strip(token, "spdisplays_"));
    const auto numberAfter = [&](std::string_view prefix) -> std::optional<std::int64_t> {
        if (text.rfind(prefix, 0) != 0 || text.size() == prefix.size()) return std::nullopt;
        const char first = text[prefix.size()];
        if (first < '0' || first > '9') return std::nullopt;
        return parseDecimal(std::string_view(text).substr(prefix.size()));
    };
    if (const auto version = numberAfter("metal")) return "Metal " + std::to_string(*version);
    if (const auto apple = numberAfter("mtlgpufamilyapple"); apple && *apple >= 7) return "Metal 3";
    if (const auto mac = numberAfter("mtlgpufamilymac"); mac && *mac >= 1 && *mac <= 2) {
        return "Metal 2";
    }
    return std::nullopt;
}

GpuFacts readGraphics(const Value& item) {
    GpuFacts gpu;
    gpu.name = stringOf(item, "_name");
    // An untranslated token ("kHW_AppleM1Item", "spdisplays_display") is no name: the model is.
    if (gpu.name && (gpu.name->rfind("kHW_", 0) == 0 || gpu.name->rfind("spdisplays_", 0) == 0)) {
        const std::optional<std::string> model = stringOf(item, "sppci_model");
        gpu.name = model && !model->empty() ? model : std::nullopt;
    }
    gpu.cores = stringOf(item, "sppci_cores").value_or("");
    if (const std::string* vendor = item.getString("spdisplays_vendor")) {
        gpu.vendor = strip(strip(*vendor, "sppci_vendor_"), "sppci_vendor");
    }
    if (const std::string* family = item.getString("spdisplays_metalfamily")) {
        gpu.apiSupport = metalVersion(*family).value_or(capitalised(strip(*family, "spdisplays_")));
    } else if (const std::string* support = item.getString("spdisplays_mtlgpufamilysupport")) {
        gpu.apiSupport = metalVersion(*support).value_or(strip(*support, "spdisplays_"));
    }
    return gpu;
}

DisplayFacts readDisplay(const Value& entry) {
    DisplayFacts display;
    display.name = stringOf(entry, "_name");

    const std::string* privateResolution = entry.getString("_spdisplays_resolution");
    const std::string* resolution = entry.getString("spdisplays_resolution");
    if (privateResolution) {
        display.resolution = *privateResolution;
    } else if (resolution) {
        display.resolution = *resolution;
    }
    display.uiResolution = resolution ? *resolution : std::string();
    if (const std::string* pixels = entry.getString("_spdisplays_pixels");
        pixels && !pixels->empty()) {
        display.resolution = *pixels;
    }

    const std::string* main = entry.getString("spdisplays_main");
    display.main = main && *main == "spdisplays_yes";

    if (const std::string* type = entry.getString("spdisplays_display_type")) {
        const std::string lower = Shell::lowerAscii(*type);
        display.builtIn = lower.find("built-in") != std::string::npos ||
                          lower.find("retina") != std::string::npos;
        display.connection = readableType(*type);
    }
    if (const std::string* connection = entry.getString("spdisplays_connection_type")) {
        display.connection = readableType(*connection);
    }

    // The refresh rate follows the "@"; built-in panels of Apple-silicon Macs state it only in
    // the private resolution.
    for (const std::string* text : {resolution, privateResolution}) {
        if (!text || !display.refreshRate.empty()) continue;
        if (const auto at = text->find('@'); at != std::string::npos) {
            display.refreshRate = trimmed(std::string_view(*text).substr(at + 1));
        }
    }
    return display;
}

}  // namespace

HardwareFacts decodeMacHardware(const MacSource& source) {
    HardwareFacts hw;
    const std::optional<Value> root =
        decodeJsonObject(profilerReport(source, "SPHardwareDataType"));
    const Value* item = firstItem(root, "SPHardwareDataType");
    if (item) readHardwareItem(source, *item, hw);
    if (!hw.logicalProcessors) hw.logicalProcessors = source.sysctlInt("hw.ncpu");
    // Without the report's split, the kernel's performance levels: level 0 the performance
    // cores, level 1 the efficiency cores. A Mac with one kind of core has no level 1.
    if (!hw.performanceCores) {
        const std::int64_t performance = source.sysctlInt("hw.perflevel0.physicalcpu");
        const std::int64_t efficiency = source.sysctlInt("hw.perflevel1.physicalcpu");
        if (performance > 0 && efficiency > 0) {
            hw.performanceCores = performance;
            hw.efficiencyCores = efficiency;
        }
    }
    if (const std::int64_t memsize = source.sysctlInt("hw.memsize"); memsize != 0) {
        hw.memoryBytes = memsize;
    }
    if (!hw.modelIdentifier) {
        if (std::string model = source.sysctlString("hw.model"); !model.empty()) {
            hw.modelIdentifier = std::move(model);
        }
    }
    // Only Apple silicon has unified memory, the collector's default: an Intel Mac whose
    // memory report names no type shows none.
    hw.memoryType = memoryType(source);
    if (!hw.memoryType && isIntelMac(hw, item ? item->getString("cpu_type") : nullptr)) {
        hw.memoryType = "";
    }
    // 0.0.0 is the source's answer for a version it could not read.
    if (const OsVersion version = source.osVersion(); version != OsVersion{}) {
        hw.osVersion = version;
    }
    if (std::string build = source.run(kSwVers, {"-buildVersion"}); !build.empty()) {
        hw.osBuild = std::move(build);
    }
    hw.uptime = source.uptime();
    hw.hostName = source.hostName();
    return hw;
}

PowerFacts decodeMacPower(Bytes registryBytes, Bytes powerBytes) {
    PowerFacts power;
    BatteryFacts battery;
    battery.installed = false;
    bool told = false;

    const std::optional<Value> registry = decodePlist(registryBytes);
    const bool registryRead = registry && registry->isArrayOfObjects();
    if (registryRead && !registry->asArray()->empty()) {
        readRegistry(registry->asArray()->front(), battery, power);
        told = true;
    }
    const std::optional<Value> report = decodeJsonObject(powerBytes);
    const Value::Array* items = arrayOfObjects(report, "SPPowerDataType");
    bool reportTellsOfBattery = false;
    if (items) {
        for (const Value& item : *items) {
            readPowerItem(item, battery);
            reportTellsOfBattery = reportTellsOfBattery ||
                                   item.getObject("sppower_battery_health_info") ||
                                   item.getObject("sppower_battery_charge_info");
        }
        told = told || !items->empty();
    }
    // A Mac without a battery (a Mac mini, an iMac, a virtual Mac) runs on its power supply;
    // the registry only tells of a battery's adapter. Without a battery means: no registry
    // entry, or no registry and a power report without battery information. Unknown when
    // neither source was read.
    const bool noEntry = registryRead ? registry->asArray()->empty() : items != nullptr;
    if (noEntry && !reportTellsOfBattery) {
        power.externalPower = true;
    }
    if (told) power.batteries.push_back(std::move(battery));
    return power;
}

std::vector<VolumeFacts> decodeMacVolumes(Bytes storageReport) {
    std::vector<VolumeFacts> volumes;
    const std::optional<Value> root = decodeJsonObject(storageReport);
    const Value::Array* items = arrayOfObjects(root, "SPStorageDataType");
    if (!items) return volumes;
    for (const Value& item : *items) {
        VolumeFacts volume;
        volume.name = stringOf(item, "_name");
        volume.mountPoint = stringOf(item, "mount_point").value_or("");
        volume.fileSystem = stringOf(item, "file_system").value_or("");
        volume.totalBytes = int64Of(item.get("size_in_bytes"));
        volume.freeBytes = int64Of(item.get("free_space_in_bytes"));
        volume.internal = isInternal(item);
        volumes.push_back(std::move(volume));
    }
    return volumes;
}

std::vector<GpuFacts> decodeMacGraphics(Bytes displaysReport) {
    std::vector<GpuFacts> gpus;
    const std::optional<Value> root = decodeJsonObject(displaysReport);
    const Value::Array* items = arrayOfObjects(root, "SPDisplaysDataType");
    if (!items) return gpus;
    for (const Value& item : *items) {
        GpuFacts gpu = readGraphics(item);
        if (const Value* entries = item.get("spdisplays_ndrvs");
            entries && entries->isArrayOfObjects()) {
            for (const Value& entry : *entries->asArray())
                gpu.displays.push_back(readDisplay(entry));
        }
        gpus.push_back(std::move(gpu));
    }
    return gpus;
}

// ---- sensors -----------------------------------------------------------------------------

std::optional<DiskCounters> decodeMacDisk(const Value& statistics, const Value& bsdName,
                                          const Value& whole, const Value& protocol) {
    // Counters are the kernel's unsigned 64-bit numbers; one read as negative is not a count.
    const auto counter = [&](std::string_view key) -> std::optional<std::uint64_t> {
        const Value* v = statistics.get(key);
        const std::int64_t* n = v ? v->asInt() : nullptr;
        if (!n || *n < 0) return std::nullopt;
        return static_cast<std::uint64_t>(*n);
    };
    const std::string* name = bsdName.asString();
    const bool* isWhole = whole.asBool();
    const std::string* interconnect = protocol.getString("Physical Interconnect");
    // A mounted disk image reads and writes through the disk its file is on: counted there.
    if (!name || name->empty() || !isWhole || !*isWhole ||
        (interconnect && *interconnect == "Virtual Interface"))
        return std::nullopt;
    const std::optional<std::uint64_t> read = counter("Bytes (Read)");
    const std::optional<std::uint64_t> written = counter("Bytes (Write)");
    if (!read || !written) return std::nullopt;
    return DiskCounters{*name, *read, *written};
}

std::optional<double> decodeMacGpuLoad(const Value& performanceStatistics) {
    // An integer as the drivers write it; a finite real is taken too, anything else is not read.
    const double busy = numberOr(performanceStatistics.get("Device Utilization %"), NAN);
    if (std::isnan(busy)) return std::nullopt;
    return std::clamp(busy, 0.0, 100.0);
}

}  // namespace orvane
