#include "service/platform/linux/PowerSupplies.h"

#include <plist/plist.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <nlohmann/json.hpp>

#include "service/platform/linux/SysText.h"

namespace orvane {

namespace {

constexpr std::int64_t kUnknownMinutes = 65535;

bool isExternalType(std::string_view type) {
    return type == "Mains" || type == "USB" || type.rfind("USB_", 0) == 0 || type == "Wireless" ||
           type == "BrickID";
}

std::int64_t roundDiv(std::int64_t num, std::int64_t den) {
    return static_cast<std::int64_t>(
        std::llround(static_cast<double>(num) / static_cast<double>(den)));
}

template <typename F>
std::optional<std::int64_t> sumOf(const std::vector<PowerSupplies::Battery>& batteries, F value) {
    std::optional<std::int64_t> sum;
    for (const auto& b : batteries)
        if (auto v = value(b)) sum = sum.value_or(0) + *v;
    return sum;
}

struct PlistDeleter {
    void operator()(void* p) const { plist_free(static_cast<plist_t>(p)); }
};

// Text for a property list: XML allows no control characters and only valid UTF-8.
plist_t plistString(const std::string& text) {
    return plist_new_string(SysText::clean(text).c_str());
}

}  // namespace

std::optional<std::int64_t> PowerSupplies::Battery::mah(
    const std::optional<std::int64_t>& charge, const std::optional<std::int64_t>& energy) const {
    if (charge && *charge >= 0) return roundDiv(*charge, 1000);
    if (!energy || *energy < 0) return std::nullopt;
    std::int64_t microvolts = 0;
    if (voltageMinDesign && *voltageMinDesign > 0) {
        microvolts = *voltageMinDesign;
    } else if (voltageNow && *voltageNow > 0) {
        microvolts = *voltageNow;
    } else {
        return std::nullopt;
    }
    // µWh / V = µAh; µWh * 1000 / µV = mAh.
    return static_cast<std::int64_t>(
        std::llround(static_cast<double>(*energy) * 1000.0 / static_cast<double>(microvolts)));
}

std::optional<std::int64_t> PowerSupplies::Battery::designMah() const {
    return mah(chargeFullDesign, energyFullDesign);
}
std::optional<std::int64_t> PowerSupplies::Battery::fullMah() const {
    return mah(chargeFull, energyFull);
}
std::optional<std::int64_t> PowerSupplies::Battery::nowMah() const {
    return mah(chargeNow, energyNow);
}

std::optional<std::int64_t> PowerSupplies::Battery::amperageMa() const {
    std::optional<std::int64_t> signedMa;
    if (currentNow) {
        signedMa = roundDiv(*currentNow, 1000);
    } else if (powerNow && voltageNow && *voltageNow > 0) {
        // µW * 1000 / µV = mA; power is a magnitude.
        signedMa = static_cast<std::int64_t>(std::llround(static_cast<double>(*powerNow) * 1000.0 /
                                                          static_cast<double>(*voltageNow)));
    }
    if (!signedMa) return std::nullopt;
    // Many drivers give the magnitude only: the status tells the direction.
    const std::int64_t magnitude = *signedMa < 0 ? -*signedMa : *signedMa;
    if (status == "Discharging") return -magnitude;
    if (status == "Charging") return magnitude;
    return signedMa;
}

PowerSupplies PowerSupplies::read(const SysFs& fs) {
    PowerSupplies result;
    for (const std::string& name : fs.list("sys/class/power_supply")) {
        const std::string base = "sys/class/power_supply/" + name + "/";
        const std::string type = fs.text(base + "type").value_or("");
        // A mouse's or a phone's battery is not the computer's.
        if (fs.text(base + "scope") == "Device") continue;

        if (isExternalType(type)) {
            if (const auto online = fs.integer(base + "online"))
                result.externalOnline = result.externalOnline.value_or(false) || *online >= 1;
            continue;
        }
        if (type != "Battery") continue;
        if (const auto present = fs.integer(base + "present"); present && *present == 0) continue;

        Battery b;
        b.name = name;
        b.status = fs.text(base + "status").value_or("");
        const auto num = [&](const char* file) { return fs.integer(base + file); };
        b.capacityPercent = num("capacity");
        b.cycleCount = num("cycle_count");
        b.voltageNow = num("voltage_now");
        b.voltageMinDesign = num("voltage_min_design");
        b.currentNow = num("current_now");
        b.powerNow = num("power_now");
        b.chargeFullDesign = num("charge_full_design");
        b.chargeFull = num("charge_full");
        b.chargeNow = num("charge_now");
        b.energyFullDesign = num("energy_full_design");
        b.energyFull = num("energy_full");
        b.energyNow = num("energy_now");
        b.temp = num("temp");
        b.timeToEmpty = num("time_to_empty_now");
        b.timeToFull = num("time_to_full_now");
        b.serial = SysText::clean(fs.text(base + "serial_number").value_or(""));
        if (SysText::isPlaceholder(b.serial)) b.serial.clear();
        b.health = SysText::clean(fs.text(base + "health").value_or(""));
        result.batteries.push_back(std::move(b));
    }
    return result;
}

std::vector<std::uint8_t> PowerSupplies::registryPlist() const {
    std::unique_ptr<void, PlistDeleter> array(plist_new_array());
    if (!batteries.empty()) {
        plist_t dict = plist_new_dict();
        const auto setInt = [&](const char* key, std::int64_t value) {
            plist_dict_set_item(dict, key, plist_new_uint(static_cast<std::uint64_t>(value)));
        };
        const auto anyStatus = [&](std::string_view s) {
            return std::any_of(batteries.begin(), batteries.end(),
                               [&](const Battery& b) { return b.status == s; });
        };
        const bool discharging = anyStatus("Discharging");
        const bool charging = !discharging && anyStatus("Charging");
        const bool full = std::all_of(batteries.begin(), batteries.end(),
                                      [](const Battery& b) { return b.status == "Full"; });

        plist_dict_set_item(dict, "BatteryInstalled", plist_new_bool(1));

        std::int64_t cycles = 0;
        for (const auto& b : batteries)
            cycles = std::max(cycles, b.cycleCount.value_or(0));
        if (cycles > 0) setInt("CycleCount", cycles);  // 0 means the driver does not count

        const auto design = sumOf(batteries, [](const Battery& b) { return b.designMah(); });
        const auto max = sumOf(batteries, [](const Battery& b) { return b.fullMah(); });
        const auto now = sumOf(batteries, [](const Battery& b) { return b.nowMah(); });
        const auto amps = sumOf(batteries, [](const Battery& b) { return b.amperageMa(); });
        if (design) setInt("DesignCapacity", *design);
        if (max) setInt("AppleRawMaxCapacity", *max);
        if (now) setInt("AppleRawCurrentCapacity", *now);

        for (const auto& b : batteries) {
            if (b.voltageNow) {
                setInt("Voltage", roundDiv(*b.voltageNow, 1000));
                break;
            }
        }
        if (amps) setInt("Amperage", *amps);

        std::optional<std::int64_t> temp;
        for (const auto& b : batteries)
            if (b.temp) temp = std::max(temp.value_or(INT64_MIN), *b.temp);
        if (temp) setInt("Temperature", *temp * 10);  // tenths -> hundredths of a degree

        plist_dict_set_item(dict, "IsCharging", plist_new_bool(charging ? 1 : 0));
        plist_dict_set_item(dict, "FullyCharged", plist_new_bool(full ? 1 : 0));
        const bool external = externalOnline ? *externalOnline : !discharging;
        plist_dict_set_item(dict, "ExternalConnected", plist_new_bool(external ? 1 : 0));

        for (const auto& b : batteries) {
            if (!b.serial.empty()) {
                plist_dict_set_item(dict, "Serial", plistString(b.serial));
                break;
            }
        }

        std::optional<std::int64_t> minutes;
        if (batteries.size() == 1) {
            const Battery& b = batteries.front();
            if (discharging && b.timeToEmpty && *b.timeToEmpty > 0) minutes = *b.timeToEmpty / 60;
            if (charging && b.timeToFull && *b.timeToFull > 0) minutes = *b.timeToFull / 60;
        }
        if (!minutes && amps && *amps != 0) {
            const std::int64_t rate = *amps < 0 ? -*amps : *amps;
            if (discharging && now) minutes = *now * 60 / rate;
            if (charging && now && max && *max > *now) minutes = (*max - *now) * 60 / rate;
        }
        if (minutes && *minutes >= 1 && *minutes < kUnknownMinutes)
            setInt("TimeRemaining", *minutes);

        plist_array_append_item(array.get(), dict);
    }

    char* xml = nullptr;
    std::uint32_t length = 0;
    plist_to_xml(array.get(), &xml, &length);
    std::vector<std::uint8_t> out;
    if (xml) {
        out.assign(xml, xml + length);
        plist_to_xml_free(xml);
    }
    return out;
}

std::vector<std::uint8_t> PowerSupplies::powerJson() const {
    nlohmann::json items = nlohmann::json::array();
    if (!batteries.empty()) {
        nlohmann::json charge = nlohmann::json::object();
        std::optional<std::int64_t> percent;
        if (batteries.size() == 1) percent = batteries.front().capacityPercent;
        if (!percent) {
            const auto max = sumOf(batteries, [](const Battery& b) { return b.fullMah(); });
            const auto now = sumOf(batteries, [](const Battery& b) { return b.nowMah(); });
            if (max && now && *max > 0) percent = roundDiv(*now * 100, *max);
        }
        if (percent) charge["sppower_battery_state_of_charge"] = *percent;
        const bool full = std::all_of(batteries.begin(), batteries.end(),
                                      [](const Battery& b) { return b.status == "Full"; });
        charge["sppower_battery_fully_charged"] = full ? "TRUE" : "FALSE";

        nlohmann::json health = nlohmann::json::object();
        // The worst condition any battery reports; "Unknown" tells nothing.
        std::string condition;
        for (const auto& b : batteries) {
            if (b.health.empty() || b.health == "Unknown") continue;
            if (condition.empty() || condition == "Good") condition = b.health;
        }
        if (!condition.empty()) health["sppower_battery_health"] = condition;
        std::int64_t cycles = 0;
        for (const auto& b : batteries)
            cycles = std::max(cycles, b.cycleCount.value_or(0));
        if (cycles > 0) health["sppower_battery_cycle_count"] = cycles;

        items.push_back({{"_name", "spbattery_information"},
                         {"sppower_battery_charge_info", charge},
                         {"sppower_battery_health_info", health}});
    }
    const std::string text = nlohmann::json{{"SPPowerDataType", items}}.dump(
        -1, ' ', false, nlohmann::json::error_handler_t::replace);
    return {text.begin(), text.end()};
}

}  // namespace orvane
