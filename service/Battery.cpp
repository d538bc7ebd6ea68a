// Battery information from the platform's facts. Several batteries read as one: capacities
// and currents add up, the worst condition and the highest cycle count and temperature stand.
#include <algorithm>
#include <string>
#include <type_traits>

#include "service/Collectors.h"
#include "service/Values.h"

namespace orvane {

namespace {

// Still estimating: nothing below a minute, and the registry's 65535.
constexpr std::int64_t kEstimating = 65535;
// No real estimate runs past 100 hours (a controller's 59999 is a placeholder).
constexpr std::int64_t kMaxMinutes = 100 * 60;
// Temperatures a working battery can report.
constexpr double kMinCelsius = -40;
constexpr double kMaxCelsius = 100;

template <typename T, typename F>
std::optional<T> sumOf(const std::vector<BatteryFacts>& batteries, F field) {
    std::optional<T> sum;
    for (const BatteryFacts& b : batteries)
        if (const std::optional<T>& v = b.*field) {
            // A corrupt capacity must not wrap the sum around.
            if constexpr (std::is_integral_v<T>)
                sum = saturatingAdd(sum.value_or(0), *v);
            else
                sum = sum.value_or(T{}) + *v;
        }
    return sum;
}

template <typename T, typename F>
std::optional<T> firstOf(const std::vector<BatteryFacts>& batteries, F field) {
    for (const BatteryFacts& b : batteries)
        if (const std::optional<T>& v = b.*field) return v;
    return std::nullopt;
}

template <typename T, typename F>
std::optional<T> maxOf(const std::vector<BatteryFacts>& batteries, F field) {
    std::optional<T> best;
    for (const BatteryFacts& b : batteries)
        if (const std::optional<T>& v = b.*field) best = best ? std::max(*best, *v) : *v;
    return best;
}

// "Good" says least: any other condition a battery states wins over it.
std::optional<std::string> conditionOf(const std::vector<BatteryFacts>& batteries) {
    std::optional<std::string> condition;
    for (const BatteryFacts& b : batteries) {
        if (!b.condition) continue;
        if (!condition || *condition == "Good") condition = b.condition;
    }
    return condition;
}

}  // namespace

BatteryInfo collectBattery(const PowerFacts& facts) {
    BatteryInfo b;
    const std::vector<BatteryFacts>& all = facts.batteries;
    b.onAC = facts.externalPower;
    if (all.empty()) return b;

    b.present = std::any_of(all.begin(), all.end(), [](const auto& x) { return x.installed; });
    b.cycleCount = maxOf<std::int64_t>(all, &BatteryFacts::cycleCount);
    b.designCycleCount = maxOf<std::int64_t>(all, &BatteryFacts::designCycleCount);
    b.designCapacity = sumOf<std::int64_t>(all, &BatteryFacts::designCapacity);
    b.maxCapacity = sumOf<std::int64_t>(all, &BatteryFacts::fullCapacity);
    b.currentCapacity = sumOf<std::int64_t>(all, &BatteryFacts::currentCapacity);
    b.voltage = firstOf<double>(all, &BatteryFacts::voltage);
    b.amperage = sumOf<double>(all, &BatteryFacts::current);
    // A broken controller reports -270 °C or thousands of degrees: not a reading.
    b.temperature = maxOf<double>(all, &BatteryFacts::temperature);
    if (b.temperature && !(*b.temperature >= kMinCelsius && *b.temperature <= kMaxCelsius))
        b.temperature.reset();
    b.serial = firstOf<std::string>(all, &BatteryFacts::serial).value_or("");
    const bool discharging =
        std::any_of(all.begin(), all.end(), [](const auto& x) { return x.discharging; });
    b.isCharging = !discharging &&
                   std::any_of(all.begin(), all.end(), [](const auto& x) { return x.charging; });
    b.fullyCharged =
        std::all_of(all.begin(), all.end(), [](const auto& x) { return x.fullyCharged; });

    if (facts.timeRemaining) {
        const std::int64_t minutes = *facts.timeRemaining;
        if (minutes < 1 || minutes == kEstimating)
            b.timeRemaining = -1;
        else if (minutes <= kMaxMinutes)
            b.timeRemaining = minutes;
    } else if (b.present) {
        b.timeRemaining = -1;
    }

    // Health and charge as the system states them (one battery's), else worked out from the
    // capacities.
    const std::optional<double> statedHealth =
        all.size() == 1 ? all.front().healthPercent : std::nullopt;
    const std::optional<double> statedCharge =
        all.size() == 1 ? all.front().chargePercent : std::nullopt;
    const std::int64_t design = b.designCapacity.value_or(0);
    const std::int64_t full = b.maxCapacity.value_or(0);
    const std::int64_t current = b.currentCapacity.value_or(0);
    if (statedHealth) {
        b.healthPercent = *statedHealth;
    } else if (design >= 1 && full >= 1) {
        b.healthPercent = static_cast<double>(full) / static_cast<double>(design) * 100.0;
    }
    if (statedCharge) {
        b.chargePercent = *statedCharge;
    } else if (full >= 1 && b.currentCapacity && current >= 0) {
        b.chargePercent =
            std::min(static_cast<double>(current) / static_cast<double>(full) * 100.0, 100.0);
    }

    // A battery that states no condition ("-" says none too) is "Normal".
    b.condition = conditionOf(all).value_or("-");
    if (b.condition == "-" && b.present) b.condition = "Normal";
    return b;
}

}  // namespace orvane
