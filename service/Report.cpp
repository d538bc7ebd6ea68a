#include "service/Report.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <set>

#include "service/Fmt.h"
#include "service/Utf8.h"

namespace orvane {

namespace {

using nlohmann::json;

// ---- the rows the text and Markdown share ---------------------------------------------

struct Row {
    std::string label;
    std::string value;
};

struct Section {
    std::string title;
    std::string columns[2];  // Markdown's table header
    std::vector<Row> rows;
};

std::string orDash(const std::string& s) {
    return s.empty() ? "-" : s;
}

std::string pct(double v) {
    return Fmt::format("%.1f%%", v);
}

// "1.20 GB received, 340.0 MB sent; 12.3 kB/s, 1.0 kB/s": totals, then rates once known.
std::string activity(std::uint64_t first, std::uint64_t second, const char* firstWord,
                     const char* secondWord, const std::optional<double>& firstRate,
                     const std::optional<double>& secondRate) {
    auto total = [](std::uint64_t n) {
        return Fmt::bytes(static_cast<std::int64_t>(std::min<std::uint64_t>(n, INT64_MAX)));
    };
    std::string out = total(first) + " " + firstWord + ", " + total(second) + " " + secondWord;
    if (firstRate && secondRate)
        out += "; " + Fmt::rate(*firstRate) + " " + firstWord + ", " + Fmt::rate(*secondRate) +
               " " + secondWord;
    return out;
}

// A sensor as it reads alone: "CPU Package", "Core 0" of the CPU as "CPU Core 0".
std::string sensorLabel(const std::string& device, const std::string& sensor) {
    if (sensor.rfind(device, 0) == 0) return sensor;
    if (device.rfind(sensor, 0) == 0) return device;
    return device + " " + sensor;
}

// Sensors, Network and Disks, each only where the platform reads them.
void addSensorSections(const SensorReadings& s, std::vector<Section>& out) {
    auto row = [&out](std::string label, std::string value) {
        out.back().rows.push_back({std::move(label), std::move(value)});
    };
    if (!s.devices.empty() || !s.gpus.empty() || s.thermalState) {
        out.push_back({"Sensors", {"Sensor", "Reading"}, {}});
        if (s.thermalState) row("Thermal state", thermalStateName(*s.thermalState));
        for (const SensorDeviceFacts& d : s.devices) {
            if (d.sleeping) row(d.name, "Sleeping");
            for (const TemperatureFacts& t : d.temperatures)
                row(sensorLabel(d.name, t.name),
                    Fmt::format("%.1f °C", t.celsius.value_or(0)) +
                        (t.criticalCelsius ? Fmt::format(" (critical %.0f °C)", *t.criticalCelsius)
                                           : ""));
            for (const FanFacts& f : d.fans)
                row(sensorLabel(d.name, f.name), Fmt::format("%.0f RPM", f.rpm.value_or(0)));
        }
        for (const GpuLoadFacts& g : s.gpus)
            row("GPU load (" + g.name + ")",
                g.sleeping ? "Sleeping" : Fmt::format("%.0f%%", g.busyPercent.value_or(0)));
    }
    if (!s.network.empty()) {
        out.push_back({"Network", {"Interface", "Received, sent"}, {}});
        for (const NetworkActivity& n : s.network)
            row(n.name + (n.wireless ? " (wireless)" : ""),
                activity(n.receivedBytes, n.sentBytes, "received", "sent", n.receivedPerSecond,
                         n.sentPerSecond));
    }
    if (!s.disks.empty()) {
        out.push_back({"Disks", {"Disk", "Read, written"}, {}});
        for (const DiskActivity& d : s.disks)
            row(d.name, activity(d.readBytes, d.writtenBytes, "read", "written", d.readPerSecond,
                                 d.writtenPerSecond));
    }
}

// Overview, Battery, Storage, Graphics and Performance, as the text report lists them.
std::vector<Section> sectionsOf(const Snapshot& r) {
    const HardwareInfo& h = r.hardware;
    const BatteryInfo& b = r.battery;
    const LiveMetrics& l = r.live;
    std::vector<Section> out;

    // Rows go to the section last added.
    auto row = [&out](std::string label, std::string value) {
        out.back().rows.push_back({std::move(label), std::move(value)});
    };
    out.push_back({"Overview", {"Property", "Value"}, {}});
    row("Model", orDash(h.modelIdentifier));
    row("Chip", orDash(h.chip));
    std::string cores = h.totalCores > 0 ? std::to_string(h.totalCores) : "-";
    if (h.threads > 0) cores += " cores, " + std::to_string(h.threads) + " threads";
    if (h.performanceCores > 0 || h.efficiencyCores > 0)
        cores += " (" + std::to_string(h.performanceCores) + "P + " +
                 std::to_string(h.efficiencyCores) + "E)";
    row("Cores", cores);
    row("Memory", orDash(h.memoryGB) + (h.memoryType.empty() ? "" : " " + h.memoryType));
    row("Serial number", orDash(h.serialNumber));
    row("System", orDash(h.macOSName) + (h.macOSVersion.empty() ? "" : " " + h.macOSVersion) +
                      (h.macOSBuild.empty() ? "" : " (" + h.macOSBuild + ")"));
    row("Host name", orDash(h.hostname));
    row("Uptime", h.uptime > 0 ? Fmt::duration(h.uptime) : "-");

    out.push_back({"Battery", {"Property", "Value"}, {}});
    if (!b.present) {
        row("Installed", "no");
    } else {
        const auto pctOr = [](const std::optional<double>& v) {
            return v ? Fmt::format("%.0f%%", *v) : std::string("-");
        };
        const auto intOr = [](const std::optional<std::int64_t>& v) {
            return v ? std::to_string(*v) : std::string("-");
        };
        const auto fmtOr = [](const char* f, const std::optional<double>& v) {
            return v ? Fmt::format(f, *v) : std::string("-");
        };
        row("Charge", pctOr(b.chargePercent) +
                          (b.isCharging     ? ", charging"
                           : b.fullyCharged ? ", fully charged"
                                            : "") +
                          (!b.onAC   ? ""
                           : *b.onAC ? ", on power adapter"
                                     : ", on battery"));
        row("Health", pctOr(b.healthPercent) + " (" + b.condition + ")");
        row("Cycles",
            intOr(b.cycleCount) +
                (b.designCycleCount.value_or(0) > 0 ? " of " + intOr(b.designCycleCount) : ""));
        row("Capacity", intOr(b.currentCapacity) + " / " + intOr(b.maxCapacity) + " mAh (design " +
                            intOr(b.designCapacity) + " mAh)");
        row("Electrical", fmtOr("%.2f V", b.voltage) + ", " + fmtOr("%.2f A", b.amperage) + ", " +
                              fmtOr("%.1f °C", b.temperature));
        row(b.isCharging ? "Time to full" : "Time remaining",
            !b.timeRemaining       ? "-"
            : *b.timeRemaining < 0 ? "calculating"
                                   : Fmt::duration(static_cast<double>(*b.timeRemaining) * 60.0));
        row("Serial", orDash(b.serial));
    }

    out.push_back({"Storage", {"Volume", "Space, file system, mount point"}, {}});
    if (r.volumes.empty()) row("Volumes", "none read");
    for (const auto& v : r.volumes)
        row(v.name, Fmt::bytes(v.freeBytes) + " free of " + Fmt::bytes(v.totalBytes) + ", " +
                        orDash(v.fileSystem) + ", " + orDash(v.mountPoint) +
                        (v.isBoot ? ", startup" : "") + (v.isInternal ? "" : ", external"));

    out.push_back({"Graphics", {"Device", "Details"}, {}});
    if (r.graphics.empty()) row("Processors", "none read");
    for (const auto& g : r.graphics)
        row(g.name, orDash(g.vendor) + (g.cores.empty() ? "" : ", " + g.cores + " cores") +
                        (g.metalSupport.empty() ? "" : ", " + g.metalSupport) +
                        (g.driver.empty() ? "" : ", driver " + g.driver));
    for (const auto& d : r.displays)
        row(d.name, orDash(d.resolution) + (d.refreshRate.empty() ? "" : " @ " + d.refreshRate) +
                        ", " + orDash(d.connectionType) + (d.isMain ? ", main" : "") +
                        (d.isBuiltIn ? ", built in" : ""));

    out.push_back({"Performance", {"Measure", "Value"}, {}});
    // What was not measured is not known: "-", never 0 % or 0 MB.
    const auto cpu = [&](std::string text) { return l.cpuMeasured ? text : "-"; };
    const auto mem = [&](std::string text) { return l.memMeasured ? text : "-"; };
    row("Processor", cpu(pct(l.cpuUserPct) + " user, " + pct(l.cpuSystemPct) + " system, " +
                         pct(l.cpuIdlePct) + " idle"));
    std::string coresLine;
    for (std::size_t i = 0; i < l.perCore.size(); ++i)
        coresLine += (i ? " " : "") + Fmt::format("%.0f%%", l.perCore[i] * 100);
    row("Per core", cpu(orDash(coresLine)));
    // Memory in binary units, as the system counts it.
    row("Memory used", mem(Fmt::memory(l.memUsedBytes)) + " of " +
                           (l.memTotalBytes > 0 ? Fmt::memory(l.memTotalBytes) : "-"));
    row("App / wired", mem(Fmt::memory(l.memAppBytes) + " / " + Fmt::memory(l.memWiredBytes)));
    row("Compressed", mem(Fmt::memory(l.memCompressedBytes)));
    row("Cached", mem(Fmt::memory(l.memCachedBytes)));
    row("Swap used", mem(Fmt::memory(l.swapUsedBytes)));
    row("Pressure", mem(Fmt::format("%.0f%%", l.memPressure * 100)));
    addSensorSections(r.sensors, out);
    return out;
}

// Text as a C string prints it (up to the first NUL byte), with control characters and
// reordering marks escaped: text from a capture cannot drive the terminal it is shown on.
std::string cText(const std::string& s) {
    return Utf8::escapeControls(std::string_view(s).substr(0, s.find('\0')));
}

std::string text(const Snapshot& r) {
    std::string out = cText(r.hardware.modelName) + "\n";
    bool first = true;
    for (const Section& section : sectionsOf(r)) {
        if (!first) out += "\n" + section.title + "\n";
        first = false;
        for (const Row& row : section.rows) {
            // Labels are padded to 18 bytes, and a longer one is followed by one space.
            const std::string label = cText(row.label);
            out += "  " + label + std::string(label.size() < 18 ? 18 - label.size() : 0, ' ') +
                   " " + cText(row.value) + "\n";
        }
    }
    return out;
}

// ---- Markdown ----------------------------------------------------------------------------

// One table cell or heading: characters Markdown would read as formatting or as a cell border
// are escaped, line breaks become <br> and other control characters are escaped as in the text
// report, so a value shows as it is and stays in its cell.
std::string markdownText(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
            out += "<br>";
        } else if (std::string_view("\\|*_`<>[]#").find(c) != std::string_view::npos) {
            out += '\\';
            out += c;
        } else {
            out += c;
        }
    }
    return Utf8::escapeControls(out);
}

std::string markdown(const Snapshot& r) {
    std::string out = "# " + markdownText(r.hardware.modelName) + "\n";
    for (const Section& section : sectionsOf(r)) {
        out += "\n## " + section.title + "\n\n| " + section.columns[0] + " | " +
               section.columns[1] + " |\n| --- | --- |\n";
        for (const Row& row : section.rows)
            out += "| " + markdownText(row.label) + " | " + markdownText(row.value) + " |\n";
    }
    return out;
}

// ---- JSON ----------------------------------------------------------------------------------

json orNull(const std::optional<double>& v) {
    return v && std::isfinite(*v) ? json(*v) : json(nullptr);
}

template <typename T>
json orNull(const std::optional<T>& v) {
    return v ? json(*v) : json(nullptr);
}

json jsonOf(const Snapshot& r) {
    const HardwareInfo& h = r.hardware;
    const BatteryInfo& b = r.battery;
    const LiveMetrics& l = r.live;
    // A value that was not measured is null, not 0.
    const auto cpu = [&](const auto& v) { return l.cpuMeasured ? json(v) : json(nullptr); };
    const auto mem = [&](const auto& v) { return l.memMeasured ? json(v) : json(nullptr); };
    json volumes = json::array();
    for (const auto& v : r.volumes)
        volumes.push_back({{"id", v.id().toString()},
                           {"name", v.name},
                           {"mountPoint", v.mountPoint},
                           {"fileSystem", v.fileSystem},
                           {"totalBytes", v.totalBytes},
                           {"freeBytes", v.freeBytes},
                           {"isInternal", v.isInternal},
                           {"isBoot", v.isBoot},
                           {"usedBytes", v.usedBytes()},
                           {"usedFraction", v.usedFraction()}});
    json displays = json::array();
    for (const auto& d : r.displays)
        displays.push_back({{"id", d.id().toString()},
                            {"name", d.name},
                            {"resolution", d.resolution},
                            {"uiResolution", d.uiResolution},
                            {"isMain", d.isMain},
                            {"isBuiltIn", d.isBuiltIn},
                            {"connectionType", d.connectionType},
                            {"refreshRate", d.refreshRate}});
    json graphics = json::array();
    for (const auto& g : r.graphics)
        graphics.push_back({{"id", g.id().toString()},
                            {"name", g.name},
                            {"vendor", g.vendor},
                            {"cores", g.cores},
                            {"metalSupport", g.metalSupport},
                            {"driver", g.driver}});
    json devices = json::array();
    for (const SensorDeviceFacts& d : r.sensors.devices) {
        json temperatures = json::array(), fans = json::array();
        for (const TemperatureFacts& t : d.temperatures)
            temperatures.push_back({{"name", t.name},
                                    {"celsius", orNull(t.celsius)},
                                    {"criticalCelsius", orNull(t.criticalCelsius)}});
        for (const FanFacts& f : d.fans)
            fans.push_back({{"name", f.name}, {"rpm", orNull(f.rpm)}});
        devices.push_back({{"name", d.name},
                           {"sleeping", d.sleeping},
                           {"temperatures", temperatures},
                           {"fans", fans}});
    }
    json gpus = json::array();
    for (const GpuLoadFacts& g : r.sensors.gpus)
        gpus.push_back({{"name", g.name},
                        {"driver", g.driver},
                        {"sleeping", g.sleeping},
                        {"busyPercent", orNull(g.busyPercent)}});
    json network = json::array();
    for (const NetworkActivity& n : r.sensors.network)
        network.push_back({{"name", n.name},
                           {"wireless", n.wireless},
                           {"receivedBytes", n.receivedBytes},
                           {"sentBytes", n.sentBytes},
                           {"receivedBytesPerSecond", orNull(n.receivedPerSecond)},
                           {"sentBytesPerSecond", orNull(n.sentPerSecond)}});
    json disks = json::array();
    for (const DiskActivity& d : r.sensors.disks)
        disks.push_back({{"name", d.name},
                         {"readBytes", d.readBytes},
                         {"writtenBytes", d.writtenBytes},
                         {"readBytesPerSecond", orNull(d.readPerSecond)},
                         {"writtenBytesPerSecond", orNull(d.writtenPerSecond)}});
    const std::optional<ThermalState> thermal = r.sensors.thermalState;
    json report = {
        {"sensors",
         {{"devices", devices},
          {"gpus", gpus},
          {"thermalState", thermal ? json(thermalStateName(*thermal)) : json(nullptr)}}},
        {"network", network},
        {"disks", disks},
        {"hardware",
         {{"modelName", h.modelName},
          {"modelIdentifier", h.modelIdentifier},
          {"chip", h.chip},
          {"totalCores", h.totalCores},
          {"performanceCores", h.performanceCores},
          {"efficiencyCores", h.efficiencyCores},
          {"gpuCores", h.gpuCores},
          {"memoryGB", h.memoryGB},
          {"memoryType", h.memoryType},
          {"serialNumber", h.serialNumber},
          {"macOSName", h.macOSName},
          {"macOSVersion", h.macOSVersion},
          {"macOSBuild", h.macOSBuild},
          {"uptime", h.uptime},
          {"hostname", h.hostname},
          {"isLaptop", h.isLaptop},
          {"symbol", std::string(symbolName(h.symbol()))}}},
        {"battery",
         {{"present", b.present},
          {"cycleCount", orNull(b.cycleCount)},
          {"designCycleCount", orNull(b.designCycleCount)},
          {"healthPercent", orNull(b.healthPercent)},
          {"condition", b.condition},
          {"chargePercent", orNull(b.chargePercent)},
          {"isCharging", b.isCharging},
          {"onAC", orNull(b.onAC)},
          {"fullyCharged", b.fullyCharged},
          {"temperature", orNull(b.temperature)},
          {"voltage", orNull(b.voltage)},
          {"amperage", orNull(b.amperage)},
          {"designCapacity", orNull(b.designCapacity)},
          {"maxCapacity", orNull(b.maxCapacity)},
          {"currentCapacity", orNull(b.currentCapacity)},
          {"timeRemaining", orNull(b.timeRemaining)},
          {"serial", b.serial},
          {"conditionColorName", std::string(tintName(b.conditionTint()))}}},
        {"volumes", volumes},
        {"displays", displays},
        {"graphics", graphics},
        {"live",
         {{"cpuUserPct", cpu(l.cpuUserPct)},
          {"cpuSystemPct", cpu(l.cpuSystemPct)},
          {"cpuIdlePct", cpu(l.cpuIdlePct)},
          {"perCore", cpu(l.perCore)},
          {"memUsedBytes", mem(l.memUsedBytes)},
          {"memTotalBytes", l.memTotalBytes > 0 ? json(l.memTotalBytes) : json(nullptr)},
          {"memAppBytes", mem(l.memAppBytes)},
          {"memWiredBytes", mem(l.memWiredBytes)},
          {"memCompressedBytes", mem(l.memCompressedBytes)},
          {"memCachedBytes", mem(l.memCachedBytes)},
          {"swapUsedBytes", mem(l.swapUsedBytes)},
          {"memPressure", mem(l.memPressure)},
          {"uptime", l.uptime},
          {"cpuBusyPct", cpu(l.cpuBusyPct())},
          {"memUsedFraction", mem(l.memUsedFraction())}}},
        {"loaded", r.loaded},
    };
    // Said only where the logical processors differ from the cores.
    if (h.threads > 0) report["hardware"]["threads"] = h.threads;
    return report;
}

// Bytes that are not valid UTF-8 (a host name, a volume name) become U+FFFD rather than
// making the document unwritable.
std::string dumpJson(const json& j, int indent) {
    return j.dump(indent, ' ', false, json::error_handler_t::replace);
}

// ---- Prometheus text exposition --------------------------------------------------------

// A charge in mAh in coulombs, the base unit (1 mAh = 3.6 C).
constexpr double kCoulombsPerMilliampereHour = 3.6;

std::string number(double v) {
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    return ec == std::errc() ? std::string(buf, end) : std::string("0");
}

std::string number(std::int64_t v) {
    return std::to_string(v);
}

// A label value: valid UTF-8, with backslash, double quote and line feed escaped.
std::string labelValue(const std::string& s) {
    std::string out;
    for (const char c : Utf8::replaceInvalid(s)) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '"')
            out += "\\\"";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

// `{a="x",b="y"}` from name/value pairs; a pair with an empty value is left out.
std::string labels(std::initializer_list<std::pair<const char*, std::string>> pairs) {
    std::string out;
    for (const auto& [name, value] : pairs)
        if (!value.empty())
            out += std::string(out.empty() ? "{" : ",") + name + "=\"" + labelValue(value) + "\"";
    return out.empty() ? out : out + "}";
}

class Exposition {
  public:
    // One family: its HELP and TYPE lines, then a sample per label set. A family without
    // samples (every value unknown) is left out.
    void family(const char* name, const char* help,
                const std::vector<std::pair<std::string, std::string>>& samples,
                const char* type = "gauge") {
        if (samples.empty()) return;
        out_ += std::string("# HELP ") + name + " " + help + "\n# TYPE " + name + " " + type + "\n";
        for (const auto& [labelSet, value] : samples)
            out_ += name + labelSet + " " + value + "\n";
    }
    // A family of one sample without labels, when the value is known.
    template <typename T>
    void single(const char* name, const char* help, bool known, T value,
                const char* type = "gauge") {
        if (known && std::isfinite(static_cast<double>(value)))
            family(name, help, {{"", number(value)}}, type);
    }
    const std::string& text() const { return out_; }

  private:
    std::string out_;
};

std::string count(std::uint64_t v) {
    return std::to_string(v);
}

using Samples = std::vector<std::pair<std::string, std::string>>;

// Adds a sample unless its label set is already taken (one series cannot have two values).
void addSample(Samples& samples, std::set<std::string>& seen, std::string set, double value) {
    if (std::isfinite(value) && seen.insert(set).second) samples.emplace_back(set, number(value));
}

void addSensorMetrics(const SensorReadings& s, Exposition& m) {
    Samples temperature, critical, fan, busy, sleeping, received, sent, read, written;
    std::set<std::string> seen[4];
    for (const SensorDeviceFacts& d : s.devices) {
        for (const TemperatureFacts& t : d.temperatures) {
            const std::string set = labels({{"device", d.name}, {"sensor", t.name}});
            if (t.celsius) addSample(temperature, seen[0], set, *t.celsius);
            if (t.criticalCelsius) addSample(critical, seen[1], set, *t.criticalCelsius);
        }
        for (const FanFacts& f : d.fans)
            if (f.rpm)
                addSample(fan, seen[2], labels({{"device", d.name}, {"sensor", f.name}}), *f.rpm);
    }
    for (const GpuLoadFacts& g : s.gpus) {
        const std::string set = labels({{"gpu", g.name}, {"driver", g.driver}});
        if (!seen[3].insert(set).second) continue;
        sleeping.emplace_back(set, g.sleeping ? "1" : "0");
        if (g.busyPercent) busy.emplace_back(set, number(*g.busyPercent / 100));
    }
    for (const NetworkActivity& n : s.network) {
        const std::string set = labels({{"interface", n.name}});
        received.emplace_back(set, count(n.receivedBytes));
        sent.emplace_back(set, count(n.sentBytes));
    }
    for (const DiskActivity& d : s.disks) {
        const std::string set = labels({{"disk", d.name}});
        read.emplace_back(set, count(d.readBytes));
        written.emplace_back(set, count(d.writtenBytes));
    }
    m.family("orvane_temperature_celsius", "Temperature of a sensor.", temperature);
    m.family("orvane_temperature_critical_celsius",
             "Temperature at which the hardware protects itself.", critical);
    m.family("orvane_fan_speed_rpm", "Fan speed in revolutions per minute.", fan);
    m.family("orvane_gpu_busy_ratio", "Share of time the graphics processor was busy.", busy);
    m.family("orvane_gpu_sleeping", "1 while the graphics processor sleeps, else 0.", sleeping);
    m.family("orvane_network_received_bytes_total", "Bytes received by a network interface.",
             received, "counter");
    m.family("orvane_network_sent_bytes_total", "Bytes sent by a network interface.", sent,
             "counter");
    m.family("orvane_disk_read_bytes_total", "Bytes read from a disk.", read, "counter");
    m.family("orvane_disk_written_bytes_total", "Bytes written to a disk.", written, "counter");
}

std::string openMetrics(const Snapshot& r) {
    const HardwareInfo& h = r.hardware;
    const BatteryInfo& b = r.battery;
    const LiveMetrics& l = r.live;
    Exposition m;
    m.family("orvane_machine_info", "The machine, its processor and operating system.",
             {{labels({{"model", h.modelName},
                       {"model_identifier", h.modelIdentifier},
                       {"chip", h.chip},
                       {"os", h.macOSName},
                       {"os_version", h.macOSVersion},
                       {"build", h.macOSBuild},
                       {"host", h.hostname}}),
               "1"}});
    const double uptime = l.uptime > 0 ? l.uptime : h.uptime;
    m.single("orvane_uptime_seconds", "Time since the system started.", uptime > 0, uptime);
    // Known once two samples of the processor counters have been compared.
    m.single("orvane_cpu_busy_ratio", "Share of processor time not idle, over all processors.",
             l.cpuMeasured, l.cpuBusyPct() / 100);

    m.single("orvane_memory_installed_bytes", "Installed physical memory.", l.memTotalBytes > 0,
             l.memTotalBytes);
    // The categories come from one read of the memory counters.
    const bool memory = l.memMeasured;
    m.single("orvane_memory_used_bytes", "Memory used: app, wired and compressed.", memory,
             l.memUsedBytes);
    m.single("orvane_memory_app_bytes", "Memory used by applications.", memory, l.memAppBytes);
    m.single("orvane_memory_wired_bytes", "Memory the system keeps resident.", memory,
             l.memWiredBytes);
    m.single("orvane_memory_compressed_bytes", "Memory held by the compressor.", memory,
             l.memCompressedBytes);
    m.single("orvane_memory_cached_bytes", "Memory holding file caches, free to reclaim.", memory,
             l.memCachedBytes);
    m.single("orvane_swap_used_bytes", "Swap space in use.", memory, l.swapUsedBytes);

    if (b.present) {
        const auto known = [](const auto& v) { return v.has_value(); };
        m.single("orvane_battery_health_ratio",
                 "Full charge capacity over design capacity, as the system states it.",
                 known(b.healthPercent), b.healthPercent.value_or(0) / 100);
        m.single("orvane_battery_charge_ratio", "State of charge.", known(b.chargePercent),
                 b.chargePercent.value_or(0) / 100);
        m.single("orvane_battery_cycles_total", "Charge cycles the battery has been through.",
                 known(b.cycleCount), b.cycleCount.value_or(0), "counter");
        m.single("orvane_battery_design_cycles", "Charge cycles the battery is designed for.",
                 b.designCycleCount.value_or(0) > 0, b.designCycleCount.value_or(0));
        m.single("orvane_battery_design_capacity_coulombs",
                 "Charge the battery was designed to hold.", b.designCapacity.value_or(0) > 0,
                 b.designCapacity.value_or(0) * kCoulombsPerMilliampereHour);
        m.single("orvane_battery_full_capacity_coulombs", "Charge the battery holds when full.",
                 b.maxCapacity.value_or(0) > 0,
                 b.maxCapacity.value_or(0) * kCoulombsPerMilliampereHour);
        m.single("orvane_battery_current_capacity_coulombs", "Charge the battery holds now.",
                 known(b.currentCapacity),
                 b.currentCapacity.value_or(0) * kCoulombsPerMilliampereHour);
        m.single("orvane_battery_temperature_celsius", "Battery temperature.", known(b.temperature),
                 b.temperature.value_or(0));
        m.single("orvane_battery_on_ac", "1 when the power adapter is connected, else 0.",
                 known(b.onAC), std::int64_t{b.onAC.value_or(false)});
    }

    // Volumes of unknown size are left out, and so is a second volume with the same labels
    // (one series cannot have two values).
    std::vector<std::pair<std::string, std::string>> total, free, used;
    std::set<std::string> seen;
    for (const VolumeInfo& v : r.volumes) {
        const std::string set =
            labels({{"mountpoint", v.mountPoint}, {"name", v.name}, {"fstype", v.fileSystem}});
        if (v.totalBytes <= 0 || !seen.insert(set).second) continue;
        total.emplace_back(set, number(v.totalBytes));
        if (v.freeBytes >= 0) free.emplace_back(set, number(v.freeBytes));
        used.emplace_back(set, number(v.usedBytes()));
    }
    m.family("orvane_volume_size_bytes", "Capacity of a mounted volume.", total);
    m.family("orvane_volume_free_bytes", "Free space on a mounted volume.", free);
    m.family("orvane_volume_used_bytes", "Used space on a mounted volume.", used);
    addSensorMetrics(r.sensors, m);
    return m.text();
}

}  // namespace

std::optional<ReportFormat> reportFormatNamed(std::string_view name) {
    if (name == "text") return ReportFormat::text;
    if (name == "markdown") return ReportFormat::markdown;
    if (name == "json") return ReportFormat::json;
    if (name == "openmetrics") return ReportFormat::openmetrics;
    return std::nullopt;
}

std::string formatReport(const Snapshot& report, ReportFormat format) {
    switch (format) {
        case ReportFormat::text:
            return text(report);
        case ReportFormat::markdown:
            return markdown(report);
        case ReportFormat::json:
            return dumpJson(jsonOf(report), 2) + "\n";
        case ReportFormat::openmetrics:
            return openMetrics(report);
    }
    return {};
}

}  // namespace orvane
