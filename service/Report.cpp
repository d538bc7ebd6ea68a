#include "service/Report.h"

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
    std::string cores = std::to_string(h.totalCores);
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
    row("Uptime", Fmt::duration(h.uptime));

    out.push_back({"Battery", {"Property", "Value"}, {}});
    if (!b.present) {
        row("Installed", "no");
    } else {
        row("Charge", Fmt::format("%.0f%%", b.chargePercent) +
                          (b.isCharging     ? ", charging"
                           : b.fullyCharged ? ", fully charged"
                                            : "") +
                          (b.onAC ? ", on power adapter" : ", on battery"));
        row("Health", Fmt::format("%.0f%%", b.healthPercent) + " (" + b.condition + ")");
        row("Cycles",
            std::to_string(b.cycleCount) +
                (b.designCycleCount > 0 ? " of " + std::to_string(b.designCycleCount) : ""));
        row("Capacity", std::to_string(b.currentCapacity) + " / " + std::to_string(b.maxCapacity) +
                            " mAh (design " + std::to_string(b.designCapacity) + " mAh)");
        row("Electrical", Fmt::format("%.2f V", b.voltage) + ", " +
                              Fmt::format("%.2f A", b.amperage) + ", " +
                              Fmt::format("%.1f °C", b.temperature));
        row("Time remaining",
            b.timeRemaining < 0 ? "calculating" : Fmt::duration(b.timeRemaining * 60.0));
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
    row("Memory used", mem(Fmt::bytes(l.memUsedBytes)) + " of " +
                           (l.memTotalBytes > 0 ? Fmt::bytes(l.memTotalBytes) : "-"));
    row("App / wired", mem(Fmt::bytes(l.memAppBytes) + " / " + Fmt::bytes(l.memWiredBytes)));
    row("Compressed", mem(Fmt::bytes(l.memCompressedBytes)));
    row("Cached", mem(Fmt::bytes(l.memCachedBytes)));
    row("Swap used", mem(Fmt::bytes(l.swapUsedBytes)));
    row("Pressure", mem(Fmt::format("%.0f%%", l.memPressure * 100)));
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
    json report = {
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
          {"cycleCount", b.cycleCount},
          {"designCycleCount", b.designCycleCount},
          {"healthPercent", b.healthPercent},
          {"condition", b.condition},
          {"chargePercent", b.chargePercent},
          {"isCharging", b.isCharging},
          {"onAC", b.onAC},
          {"fullyCharged", b.fullyCharged},
          {"temperature", b.temperature},
          {"voltage", b.voltage},
          {"amperage", b.amperage},
          {"designCapacity", b.designCapacity},
          {"maxCapacity", b.maxCapacity},
          {"currentCapacity", b.currentCapacity},
          {"timeRemaining", b.timeRemaining},
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
        m.single("orvane_battery_health_ratio",
                 "Full charge capacity over design capacity, as the system states it.",
                 b.healthPercent > 0, b.healthPercent / 100);
        m.single("orvane_battery_charge_ratio", "State of charge.",
                 b.chargePercent > 0 || b.maxCapacity > 0, b.chargePercent / 100);
        m.single("orvane_battery_cycles_total", "Charge cycles the battery has been through.",
                 b.cycleCount > 0, b.cycleCount, "counter");
        m.single("orvane_battery_design_cycles", "Charge cycles the battery is designed for.",
                 b.designCycleCount > 0, b.designCycleCount);
        m.single("orvane_battery_design_capacity_coulombs",
                 "Charge the battery was designed to hold.", b.designCapacity > 0,
                 b.designCapacity * kCoulombsPerMilliampereHour);
        m.single("orvane_battery_full_capacity_coulombs", "Charge the battery holds when full.",
                 b.maxCapacity > 0, b.maxCapacity * kCoulombsPerMilliampereHour);
        m.single("orvane_battery_current_capacity_coulombs", "Charge the battery holds now.",
                 b.maxCapacity > 0 || b.currentCapacity > 0,
                 b.currentCapacity * kCoulombsPerMilliampereHour);
        m.single("orvane_battery_temperature_celsius", "Battery temperature.", b.temperature != 0,
                 b.temperature);
        m.single("orvane_battery_on_ac", "1 when the power adapter is connected, else 0.", true,
                 std::int64_t{b.onAC});
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
