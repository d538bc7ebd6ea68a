#include "ui/model/SensorsModel.h"

#include <algorithm>
#include <cmath>

#include "service/Fmt.h"

namespace orvane::SensorsModel {

using PageText::Row;
using PageText::translate;

namespace {

std::string rateText(const std::optional<double>& r) {
    return r ? Fmt::rate(*r) : "-";
}

std::string sleeping() {
    return translate("SensorsModel", "Sleeping");
}

// The names the service gives device groups, in the user's language where they are words.
std::string deviceTitle(const std::string& name) {
    if (name == "Battery") return translate("SensorsModel", "Battery");
    if (name == "System") return translate("SensorsModel", "System");
    if (name == "Thermal zones") return translate("SensorsModel", "Thermal Zones");
    if (name == "PCI device") return translate("SensorsModel", "PCI Device");
    return name;
}

Symbol deviceIcon(const std::string& name) {
    const auto is = [&](const char* group) { return name.rfind(group, 0) == 0; };
    if (is("CPU")) return Symbol::cpu;
    if (is("GPU")) return Symbol::cpuFill;
    if (is("NVMe")) return Symbol::internalDrive;
    if (is("Battery")) return Symbol::battery100;
    if (is("Wi-Fi")) return Symbol::waveform;
    if (is("System")) return Symbol::gauge;
    return Symbol::thermometer;
}

Row thermalRow(ThermalState s) {
    switch (s) {
        case ThermalState::nominal:
            return {"", translate("SensorsModel", "Nominal"), {}, Tint::green};
        case ThermalState::fair:
            return {"", translate("SensorsModel", "Fair"), {}, Tint::yellow};
        case ThermalState::serious:
            return {"", translate("SensorsModel", "Serious"), {}, Tint::red};
        case ThermalState::critical:
            return {"", translate("SensorsModel", "Critical"), {}, Tint::red};
    }
    return {};
}

}  // namespace

std::optional<double> first(Traffic traffic, const ThroughputPoint& p) {
    return traffic == Traffic::disk ? p.read : p.received;
}

std::optional<double> second(Traffic traffic, const ThroughputPoint& p) {
    return traffic == Traffic::disk ? p.written : p.sent;
}

std::array<MiniStat, 2> legend(Traffic traffic, const ThroughputPoint* newest) {
    const ThroughputPoint p = newest ? *newest : ThroughputPoint{};
    const bool disk = traffic == Traffic::disk;
    return {{
        {rateText(first(traffic, p)),
         disk ? translate("SensorsModel", "Read") : translate("SensorsModel", "Received"),
         Tint::blue},
        {rateText(second(traffic, p)),
         disk ? translate("SensorsModel", "Written") : translate("SensorsModel", "Sent"),
         Tint::green},
    }};
}

double scale(Traffic traffic, const std::deque<ThroughputPoint>& points) {
    double top = 1000;
    for (const ThroughputPoint& p : points)
        for (const std::optional<double>& v : {first(traffic, p), second(traffic, p)})
            if (v && std::isfinite(*v)) top = std::max(top, *v);
    // Past the largest double there is no step to round to.
    if (top > 1e300) return top;
    double step = std::pow(10.0, std::floor(std::log10(top)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * step >= top * (1 - 1e-12)) return m * step;
    return 10 * step;
}

const GpuLoadFacts* loadOf(const std::vector<GraphicsInfo>& graphics, std::size_t index,
                           const std::vector<GpuLoadFacts>& loads) {
    if (index >= graphics.size()) return nullptr;
    const std::string& driver = graphics[index].driver;
    std::size_t place = 0;
    for (std::size_t i = 0; i < index; ++i)
        place += graphics[i].driver == driver;
    for (const GpuLoadFacts& l : loads)
        if (l.driver == driver && place-- == 0) return &l;
    return nullptr;
}

std::optional<Row> loadRow(const GpuLoadFacts* load) {
    const std::string label = translate("SensorsModel", "GPU Load");
    if (!load) return std::nullopt;
    if (load->sleeping) return Row{label, sleeping(), Symbol::gauge, Tint::secondary};
    if (!load->busyPercent) return std::nullopt;
    const double busy = std::clamp(*load->busyPercent, 0.0, 100.0);
    return Row{label, PageText::percent(busy), Symbol::gauge, usageTint(busy / 100)};
}

std::vector<SensorCardText> cards(const SensorReadings& s, const BatteryInfo& battery) {
    std::vector<SensorCardText> out;
    if (s.thermalState) {
        Row r = thermalRow(*s.thermalState);
        r.label = translate("SensorsModel", "State");
        r.icon = Symbol::thermometer;
        out.push_back({translate("SensorsModel", "Thermal State"), Symbol::gauge, {r}});
    }
    for (const SensorDeviceFacts& d : s.devices) {
        SensorCardText c{deviceTitle(d.name), deviceIcon(d.name), {}};
        if (d.sleeping)
            c.rows.push_back({translate("SensorsModel", "State"), sleeping(), Symbol::moonFill,
                              Tint::secondary});
        for (const TemperatureFacts& t : d.temperatures) {
            if (!t.celsius) continue;
            // Coloured against the sensor's critical temperature, where the hardware gives one.
            const Tint tint = t.criticalCelsius && *t.criticalCelsius > 0
                                  ? usageTint(*t.celsius / *t.criticalCelsius)
                                  : Tint::primary;
            c.rows.push_back(
                {t.name, Fmt::format("%.0f \u00b0C", *t.celsius), Symbol::thermometerMedium, tint});
        }
        for (const FanFacts& f : d.fans)
            if (f.rpm)
                c.rows.push_back({f.name,
                                  PageText::arg(translate("SensorsModel", "%1 RPM"),
                                                {Fmt::format("%.0f", *f.rpm)}),
                                  Symbol::arrowCirclePath, Tint::primary});
        if (!c.rows.empty()) out.push_back(std::move(c));
    }
    // The battery's rate of charge or discharge, from its voltage and current.
    // Only from a voltage and a current that were both read.
    const double watts =
        battery.voltage && battery.amperage ? *battery.voltage * *battery.amperage : std::nan("");
    if (battery.present && std::isfinite(watts) && std::abs(watts) >= 0.05) {
        Row r{watts < 0 ? translate("SensorsModel", "Power Draw")
                        : translate("SensorsModel", "Charging Power"),
              Fmt::withDecimalPoint(Fmt::format("%.1f W", std::abs(watts))), Symbol::boltFill,
              Tint::primary};
        auto it = std::find_if(out.begin(), out.end(), [](const SensorCardText& c) {
            return c.title == translate("SensorsModel", "Battery");
        });
        if (it == out.end())
            out.push_back({translate("SensorsModel", "Battery"), Symbol::battery100, {r}});
        else
            it->rows.insert(it->rows.begin(), r);
    }
    return out;
}

bool showEmpty(const SensorReadings& sensors, const std::vector<SensorCardText>& cards) {
    return sensors.sampled && cards.empty();
}

}  // namespace orvane::SensorsModel
