#include "service/HistoryReport.h"

#include <ctime>
#include <nlohmann/json.hpp>

#include "service/Fmt.h"
#include "service/HealthTrend.h"
#include "service/Utf8.h"

namespace orvane {

namespace {

using nlohmann::json;

std::string utc(std::int64_t t, const char* format) {
    const std::time_t tt = static_cast<std::time_t>(t);
    std::tm tm{};
    char buf[32];
    if (!gmtime_r(&tt, &tm) || !std::strftime(buf, sizeof buf, format, &tm)) return {};
    return buf;
}

std::string batteryProjectionText(const History& h) {
    const auto curve = h.currentBattery();
    const Trend t = batteryTrend(curve);
    if (!t.when) return trendReasonText(t.reason, false);
    return "health reaches 80% around " + utc(*t.when, "%Y-%m");
}

std::string volumeProjectionText(const std::vector<VolumePoint>& curve) {
    const Trend t = volumeTrend(curve);
    if (!t.when) return trendReasonText(t.reason, true);
    const std::int64_t n = monthsUntil(*t.when, curve.back().time);
    return "full in about " + std::to_string(n) + (n == 1 ? " month" : " months");
}

std::string text(const History& h) {
    std::string out;
    if (h.empty()) return "No history recorded\n";
    if (!h.battery.empty()) {
        out += "Battery\n";
        for (const BatteryPoint& p : h.battery)
            out += "  " + utc(p.time, "%Y-%m-%d %H:%M") + "  " +
                   Fmt::format("%.1f%%", p.healthPercent) + "  " + std::to_string(p.fullCapacity) +
                   " / " + std::to_string(p.designCapacity) + " mAh  " +
                   std::to_string(p.cycleCount) + " cycles  " + p.condition + "\n";
        out += "  Projection: " + batteryProjectionText(h) + "\n";
    }
    for (const std::string& volume : h.volumeNames()) {
        out += (out.empty() ? "" : "\n") + volume + "\n";
        for (const VolumePoint& p : h.volumes)
            if (p.volume == volume)
                out += "  " + utc(p.time, "%Y-%m-%d %H:%M") + "  " + Fmt::bytes(p.usedBytes()) +
                       " used of " + Fmt::bytes(p.totalBytes) + "\n";
        out += "  Projection: " + volumeProjectionText(h.currentVolume(volume)) + "\n";
    }
    return Utf8::replaceInvalid(out);
}

json trendJson(const Trend& t, bool volume) {
    json j = {{"supported", t.when.has_value()}, {"slopePerDay", t.slopePerDay}};
    if (t.when)
        j["when"] = utc(*t.when, "%Y-%m-%dT%H:%M:%SZ");
    else
        j["reason"] = trendReasonText(t.reason, volume);
    return j;
}

std::string jsonText(const History& h) {
    json doc = json::parse(historyToJson(h));
    json volumes = json::object();
    for (const std::string& v : h.volumeNames())
        volumes[v] = trendJson(volumeTrend(h.currentVolume(v)), true);
    doc["projections"] = {{"battery", trendJson(batteryTrend(h.currentBattery()), false)},
                          {"volumes", volumes}};
    return doc.dump(1, ' ', false, json::error_handler_t::replace) + "\n";
}

std::string csvField(const std::string& s) {
    if (s.find_first_of(",\"\n\r") == std::string::npos) return s;
    std::string out = "\"";
    for (const char c : s)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

std::string csv(const History& h) {
    std::string out =
        "series,time,curve,design_mah,full_mah,cycles,health_percent,condition,temperature_c,"
        "total_bytes,free_bytes\n";
    for (const BatteryPoint& p : h.battery)
        out += "battery," + utc(p.time, "%Y-%m-%dT%H:%M:%SZ") + "," + std::to_string(p.curve) +
               "," + std::to_string(p.designCapacity) + "," + std::to_string(p.fullCapacity) + "," +
               std::to_string(p.cycleCount) + "," + Fmt::format("%.2f", p.healthPercent) + "," +
               csvField(p.condition) + "," +
               (p.temperature ? Fmt::format("%.1f", *p.temperature) : "") + ",,\n";
    for (const VolumePoint& p : h.volumes)
        out += csvField(p.volume) + "," + utc(p.time, "%Y-%m-%dT%H:%M:%SZ") + "," +
               std::to_string(p.curve) + ",,,,,,," + std::to_string(p.totalBytes) + "," +
               std::to_string(p.freeBytes) + "\n";
    return Utf8::replaceInvalid(out);
}

std::string labelValue(const std::string& s) {
    std::string out;
    for (const char c : Utf8::replaceInvalid(s))
        out += c == '\\' ? "\\\\" : c == '"' ? "\\\"" : c == '\n' ? "\\n" : std::string(1, c);
    return out;
}

}  // namespace

std::optional<HistoryFormat> historyFormatNamed(std::string_view name) {
    if (name == "text") return HistoryFormat::text;
    if (name == "json") return HistoryFormat::json;
    if (name == "csv") return HistoryFormat::csv;
    return std::nullopt;
}

std::string formatHistory(const History& history, HistoryFormat format) {
    switch (format) {
        case HistoryFormat::text:
            return text(history);
        case HistoryFormat::json:
            return jsonText(history);
        case HistoryFormat::csv:
            return csv(history);
    }
    return {};
}

std::string historyMetrics(const History& h) {
    std::string out;
    if (const Trend t = batteryTrend(h.currentBattery()); t.when)
        out +=
            "# HELP orvane_battery_health_80_projection_timestamp_seconds When battery health is"
            " projected to reach 80%, from its recorded history.\n"
            "# TYPE orvane_battery_health_80_projection_timestamp_seconds gauge\n"
            "orvane_battery_health_80_projection_timestamp_seconds " +
            std::to_string(*t.when) + "\n";
    std::string volumes;
    for (const std::string& v : h.volumeNames())
        if (const Trend t = volumeTrend(h.currentVolume(v)); t.when)
            volumes += "orvane_volume_full_projection_timestamp_seconds{mountpoint=\"" +
                       labelValue(v) + "\"} " + std::to_string(*t.when) + "\n";
    if (!volumes.empty())
        out +=
            "# HELP orvane_volume_full_projection_timestamp_seconds When a volume is projected to"
            " be full, from its recorded use.\n"
            "# TYPE orvane_volume_full_projection_timestamp_seconds gauge\n" +
            volumes;
    return out;
}

}  // namespace orvane
