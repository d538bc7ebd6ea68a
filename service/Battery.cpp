// Battery information: the battery's registry entry (ioreg, property list), then the power
// report (system_profiler, JSON), which overrides a few of the registry's values.
#include <algorithm>
#include <cctype>
#include <string>

#include "service/Collectors.h"
#include "service/Values.h"

namespace orvane {

namespace {

// A boolean member; false when absent or not a boolean.
bool boolOf(const Value& object, std::string_view key) {
    const Value* v = object.get(key);
    const bool* b = v ? v->asBool() : nullptr;
    return b && *b;
}

std::int64_t intMember(const Value& object, std::string_view key) {
    return intOf(object.get(key));
}

void readRegistry(const Value& entry, BatteryInfo& b) {
    b.present = boolOf(entry, "BatteryInstalled");
    b.cycleCount = intMember(entry, "CycleCount");
    b.designCycleCount = intMember(entry, "DesignCycleCount9C");
    b.designCapacity = intMember(entry, "DesignCapacity");
    b.maxCapacity = intMember(entry, "AppleRawMaxCapacity");
    if (b.maxCapacity < 1) b.maxCapacity = intMember(entry, "MaxCapacity");
    b.currentCapacity = intMember(entry, "AppleRawCurrentCapacity");
    if (b.currentCapacity < 1) b.currentCapacity = intMember(entry, "CurrentCapacity");
    b.onAC = boolOf(entry, "ExternalConnected");
    b.isCharging = boolOf(entry, "IsCharging");
    b.fullyCharged = boolOf(entry, "FullyCharged");
    b.temperature = static_cast<double>(intMember(entry, "Temperature")) / 100.0;
    b.voltage = static_cast<double>(intMember(entry, "Voltage")) / 1000.0;
    b.amperage = static_cast<double>(intMember(entry, "Amperage")) / 1000.0;
    const std::string* serial = entry.getString("Serial");
    b.serial = serial ? *serial : std::string();
    // Below 1 or 65535: the system is still estimating.
    const std::int64_t minutes = intMember(entry, "TimeRemaining");
    b.timeRemaining = (minutes < 1 || minutes == 65535) ? -1 : minutes;

    if (b.designCapacity >= 1 && b.maxCapacity >= 1) {
        b.healthPercent =
            static_cast<double>(b.maxCapacity) / static_cast<double>(b.designCapacity) * 100.0;
    }
    if (b.maxCapacity >= 1 && b.currentCapacity >= 1) {
        b.chargePercent = std::min(
            static_cast<double>(b.currentCapacity) / static_cast<double>(b.maxCapacity) * 100.0,
            100.0);
    }
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

std::string upperAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

void readPowerItem(const Value& item, BatteryInfo& b) {
    if (const Value* health = item.getObject("sppower_battery_health_info")) {
        if (const std::string* condition = health->getString("sppower_battery_health")) {
            b.condition = *condition;
        }
        if (b.cycleCount == 0) b.cycleCount = intMember(*health, "sppower_battery_cycle_count");
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

}  // namespace

BatteryInfo collectBattery(const Platform& platform) {
    BatteryInfo b;

    const std::optional<Value> registry =
        decodePlist(platform.runData(kIoreg, {"-r", "-c", "AppleSmartBattery", "-a"}));
    if (registry && registry->isArrayOfObjects() && !registry->asArray()->empty()) {
        readRegistry(registry->asArray()->front(), b);
    }

    const std::optional<Value> power =
        decodeJsonObject(platform.runData(kSystemProfiler, {"SPPowerDataType", "-json"}));
    if (const Value::Array* items = arrayOfObjects(power, "SPPowerDataType")) {
        for (const Value& item : *items)
            readPowerItem(item, b);
    }

    if (b.condition == "-" && b.present) b.condition = "Normal";
    return b;
}

}  // namespace orvane
