#include "service/platform/linux/PowerSupplies.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

#include "service/Values.h"
#include "service/platform/linux/SysText.h"

namespace orvane {

namespace {

constexpr std::int64_t kUnknownMinutes = 65535;
constexpr std::int64_t kMaxReading = 1'000'000'000'000'000;

bool isExternalType(std::string_view type) {
    return type == "Mains" || type == "USB" || type.rfind("USB_", 0) == 0 || type == "Wireless" ||
           type == "BrickID";
}

std::int64_t roundDiv(std::int64_t num, std::int64_t den) {
    return static_cast<std::int64_t>(
        std::llround(static_cast<double>(num) / static_cast<double>(den)));
}

// A quotient far beyond any battery (a corrupt file) is not a reading: its arithmetic would
// overflow further on.
std::optional<std::int64_t> rounded(double value) {
    if (!std::isfinite(value) || std::abs(value) > 1e15) return std::nullopt;
    return static_cast<std::int64_t>(std::llround(value));
}

// A reading far beyond any battery (a corrupt file) would overflow a sum.
std::optional<std::int64_t> plausible(std::optional<std::int64_t> value) {
    if (value && (*value < 0 || *value > kMaxReading)) return std::nullopt;
    return value;
}

// Many drivers give the current's magnitude only: the status tells the direction.
template <typename T>
std::optional<T> signedByStatus(std::optional<T> value, const std::string& status) {
    if (!value) return value;
    T magnitude = *value;
    if constexpr (std::is_integral_v<T>) {
        magnitude = *value < 0 ? saturatingNegate(*value) : *value;
    } else {
        magnitude = std::abs(*value);
    }
    if (status == "Discharging") return -magnitude;
    if (status == "Charging") return magnitude;
    return value;
}

template <typename F>
std::optional<std::int64_t> sumOf(const std::vector<PowerSupplies::Battery>& batteries, F value) {
    std::optional<std::int64_t> sum;
    for (const auto& b : batteries)
        if (auto v = value(b)) sum = saturatingAdd(sum.value_or(0), *v);
    return sum;
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
    return rounded(static_cast<double>(*energy) * 1000.0 / static_cast<double>(microvolts));
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

std::optional<double> PowerSupplies::Battery::amperes() const {
    std::optional<double> current;
    if (currentNow) {
        current = static_cast<double>(*currentNow) / 1e6;  // µA
    } else if (powerNow && voltageNow && *voltageNow > 0) {
        // µW / µV = A; power is a magnitude.
        current = static_cast<double>(*powerNow) / static_cast<double>(*voltageNow);
    }
    return signedByStatus(current, status);
}

std::optional<std::int64_t> PowerSupplies::Battery::amperageMa() const {
    std::optional<std::int64_t> ma;
    if (currentNow) {
        ma = roundDiv(*currentNow, 1000);
    } else if (powerNow && voltageNow && *voltageNow > 0) {
        // µW * 1000 / µV = mA.
        ma = rounded(static_cast<double>(*powerNow) * 1000.0 / static_cast<double>(*voltageNow));
    }
    return signedByStatus(ma, status);
}

std::optional<double> PowerSupplies::Battery::healthPercent() const {
    const auto ratio = [](const std::optional<std::int64_t>& full,
                          const std::optional<std::int64_t>& design) -> std::optional<double> {
        if (!plausible(full) || !plausible(design) || *full <= 0 || *design <= 0) return {};
        return static_cast<double>(*full) / static_cast<double>(*design) * 100.0;
    };
    if (chargeFull || chargeFullDesign) return ratio(chargeFull, chargeFullDesign);
    return ratio(energyFull, energyFullDesign);
}

BatteryFacts PowerSupplies::Battery::facts() const {
    BatteryFacts f;
    f.installed = true;
    f.designCapacity = designMah();
    f.fullCapacity = fullMah();
    f.currentCapacity = nowMah();
    if (cycleCount && *cycleCount > 0) f.cycleCount = cycleCount;  // 0: the driver does not count
    if (voltageNow && *voltageNow >= 0) f.voltage = static_cast<double>(*voltageNow) / 1e6;
    f.current = amperes();
    // Outside -40 to 100 °C a temperature is no reading (an embedded controller's -2702).
    if (temp && *temp >= -400 && *temp <= 1000) f.temperature = static_cast<double>(*temp) / 10.0;
    f.healthPercent = healthPercent();
    f.charging = status == "Charging";
    f.discharging = status == "Discharging";
    f.fullyCharged = status == "Full";
    if (!serial.empty()) f.serial = serial;
    if (!health.empty() && health != "Unknown") f.condition = health;
    if (capacityPercent && *capacityPercent > 0)
        f.chargePercent = static_cast<double>(*capacityPercent);
    return f;
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

std::optional<std::int64_t> PowerSupplies::Battery::powerMicrowatts() const {
    if (powerNow) return plausible(*powerNow < -kMaxReading ? -1 : std::abs(*powerNow));
    if (!currentNow || !voltageNow || *voltageNow <= 0) return std::nullopt;
    // µA * µV / 10^6 = µW.
    return rounded(std::abs(static_cast<double>(*currentNow)) * static_cast<double>(*voltageNow) /
                   1e6);
}

std::optional<std::int64_t> PowerSupplies::estimatedMinutes(bool discharging, bool charging) const {
    if (!discharging && !charging) return std::nullopt;
    // Energy-reporting batteries: Wh left (or missing) over W, all in the driver's own units,
    // so no value passes through a voltage it was not measured at.
    const bool energy = std::all_of(batteries.begin(), batteries.end(), [&](const Battery& b) {
        return b.energyNow && (!charging || b.energyFull);
    });
    std::optional<std::int64_t> now, full, rate;
    if (energy) {
        now = sumOf(batteries, [](const Battery& b) { return plausible(b.energyNow); });
        full = sumOf(batteries, [](const Battery& b) { return plausible(b.energyFull); });
        rate = sumOf(batteries, [](const Battery& b) { return b.powerMicrowatts(); });
    } else {
        now = sumOf(batteries, [](const Battery& b) { return b.nowMah(); });
        full = sumOf(batteries, [](const Battery& b) { return b.fullMah(); });
        const auto amps = sumOf(batteries, [](const Battery& b) { return b.amperageMa(); });
        if (amps) rate = *amps < 0 ? -*amps : *amps;
    }
    if (!now || !rate || *rate <= 0 || *now < 0) return std::nullopt;
    double left = static_cast<double>(*now);
    if (charging) {
        if (!full || *full <= *now) return std::nullopt;
        left = static_cast<double>(*full) - left;
    }
    return rounded(std::floor(left * 60.0 / static_cast<double>(*rate)));
}

PowerFacts PowerSupplies::facts() const {
    PowerFacts power;
    power.externalPower = externalOnline;
    if (batteries.empty()) return power;
    for (const Battery& b : batteries)
        power.batteries.push_back(b.facts());

    const auto anyStatus = [&](std::string_view s) {
        return std::any_of(batteries.begin(), batteries.end(),
                           [&](const Battery& b) { return b.status == s; });
    };
    const bool discharging = anyStatus("Discharging");
    const bool charging = !discharging && anyStatus("Charging");
    if (!externalOnline) power.externalPower = !discharging;

    // The driver's own estimate for a single battery, else the charge left (or missing) over
    // the current of them all.
    std::optional<std::int64_t> minutes;
    if (batteries.size() == 1) {
        const Battery& b = batteries.front();
        if (discharging && b.timeToEmpty && *b.timeToEmpty > 0) minutes = *b.timeToEmpty / 60;
        if (charging && b.timeToFull && *b.timeToFull > 0) minutes = *b.timeToFull / 60;
    }
    if (!minutes) minutes = estimatedMinutes(discharging, charging);
    if (minutes && *minutes >= 1 && *minutes < kUnknownMinutes) power.timeRemaining = minutes;
    return power;
}

}  // namespace orvane
