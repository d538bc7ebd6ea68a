#include "service/platform/FactsJson.h"

#include <cmath>
#include <nlohmann/json.hpp>

#include "service/Values.h"
#include "service/platform/FactLimits.h"

namespace orvane {

namespace {

using nlohmann::json;

// ---- writing ---------------------------------------------------------------------------

template <typename T>
void put(json& j, const char* key, const std::optional<T>& v) {
    if (v) j[key] = *v;
}

json versionJson(const OsVersion& v) {
    return json::array({v.major, v.minor, v.patch});
}

json hardwareJson(const HardwareFacts& f) {
    json j = json::object();
    put(j, "modelName", f.modelName);
    put(j, "modelIdentifier", f.modelIdentifier);
    put(j, "chip", f.chip);
    put(j, "logicalProcessors", f.logicalProcessors);
    put(j, "physicalCores", f.physicalCores);
    put(j, "performanceCores", f.performanceCores);
    put(j, "efficiencyCores", f.efficiencyCores);
    put(j, "memoryBytes", f.memoryBytes);
    put(j, "memoryText", f.memoryText);
    put(j, "memoryType", f.memoryType);
    put(j, "serial", f.serial);
    put(j, "gpuCores", f.gpuCores);
    put(j, "portable", f.portable);
    put(j, "osName", f.osName);
    if (f.osVersion) j["osVersion"] = versionJson(*f.osVersion);
    put(j, "osVersionText", f.osVersionText);
    put(j, "osBuild", f.osBuild);
    j["uptime"] = f.uptime;
    j["hostName"] = f.hostName;
    return j;
}

json batteryJson(const BatteryFacts& b) {
    json j = {{"installed", b.installed},
              {"charging", b.charging},
              {"discharging", b.discharging},
              {"fullyCharged", b.fullyCharged}};
    put(j, "designCapacity", b.designCapacity);
    put(j, "fullCapacity", b.fullCapacity);
    put(j, "currentCapacity", b.currentCapacity);
    put(j, "cycleCount", b.cycleCount);
    put(j, "designCycleCount", b.designCycleCount);
    put(j, "voltage", b.voltage);
    put(j, "current", b.current);
    put(j, "temperature", b.temperature);
    put(j, "serial", b.serial);
    put(j, "condition", b.condition);
    put(j, "healthPercent", b.healthPercent);
    put(j, "chargePercent", b.chargePercent);
    return j;
}

json volumeJson(const VolumeFacts& v) {
    json j = {{"mountPoint", v.mountPoint}, {"fileSystem", v.fileSystem}, {"internal", v.internal}};
    put(j, "name", v.name);
    put(j, "totalBytes", v.totalBytes);
    put(j, "freeBytes", v.freeBytes);
    return j;
}

json displayJson(const DisplayFacts& d) {
    json j = {{"resolution", d.resolution},   {"uiResolution", d.uiResolution},
              {"refreshRate", d.refreshRate}, {"main", d.main},
              {"builtIn", d.builtIn},         {"connection", d.connection}};
    put(j, "name", d.name);
    return j;
}

json gpuJson(const GpuFacts& g) {
    json j = {{"vendor", g.vendor},
              {"cores", g.cores},
              {"apiSupport", g.apiSupport},
              {"driver", g.driver},
              {"displays", json::array()}};
    put(j, "name", g.name);
    for (const DisplayFacts& d : g.displays)
        j["displays"].push_back(displayJson(d));
    return j;
}

std::string dump(const json& j) {
    return j.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

// ---- reading ---------------------------------------------------------------------------

std::optional<std::string> text(const Value& o, std::string_view key) {
    const std::string* s = o.getString(key);
    return s ? std::optional<std::string>(*s) : std::nullopt;
}

std::optional<std::int64_t> integer(const Value& o, std::string_view key) {
    const Value* v = o.get(key);
    const std::int64_t* i = v ? v->asInt() : nullptr;
    return i ? std::optional<std::int64_t>(*i) : std::nullopt;
}

std::optional<double> real(const Value& o, std::string_view key) {
    const Value* v = o.get(key);
    if (!v) return std::nullopt;
    if (const double* d = v->asReal()) return std::isfinite(*d) ? std::optional(*d) : std::nullopt;
    if (const std::int64_t* i = v->asInt()) return static_cast<double>(*i);
    return std::nullopt;
}

std::optional<bool> flag(const Value& o, std::string_view key) {
    const Value* v = o.get(key);
    const bool* b = v ? v->asBool() : nullptr;
    return b ? std::optional<bool>(*b) : std::nullopt;
}

const Value::Array& objects(const Value& o, std::string_view key) {
    static const Value::Array kNone;
    const Value* v = o.get(key);
    return v && v->isArrayOfObjects() ? *v->asArray() : kNone;
}

// The objects of `o[key]`, read by `read` up to `limit`; the rest are counted in a note.
template <typename T, typename Read>
std::vector<T> listOf(const Value& o, std::string_view key, std::size_t limit, const char* what,
                      std::vector<std::string>* notes, Read read) {
    const Value::Array& all = objects(o, key);
    std::vector<T> list;
    list.reserve(std::min(all.size(), limit));
    for (std::size_t i = 0; i < all.size() && i < limit; ++i)
        list.push_back(read(all[i]));
    if (all.size() > limit && notes)
        notes->push_back(std::to_string(all.size() - limit) + " of " + std::to_string(all.size()) +
                         " " + what + " left out: no machine has more than " +
                         std::to_string(limit));
    return list;
}

std::optional<OsVersion> versionOf(const Value& o) {
    const Value* v = o.get("osVersion");
    const Value::Array* a = v ? v->asArray() : nullptr;
    if (!a || a->size() != 3) return std::nullopt;
    std::int64_t parts[3];
    for (int k = 0; k < 3; ++k) {
        const std::int64_t* i = (*a)[k].asInt();
        if (!i) return std::nullopt;
        parts[k] = *i;
    }
    return OsVersion{parts[0], parts[1], parts[2]};
}

HardwareFacts hardwareOf(const Value& o) {
    HardwareFacts f;
    f.modelName = text(o, "modelName");
    f.modelIdentifier = text(o, "modelIdentifier");
    f.chip = text(o, "chip");
    f.logicalProcessors = integer(o, "logicalProcessors");
    f.physicalCores = integer(o, "physicalCores");
    f.performanceCores = integer(o, "performanceCores");
    f.efficiencyCores = integer(o, "efficiencyCores");
    f.memoryBytes = integer(o, "memoryBytes");
    f.memoryText = text(o, "memoryText");
    f.memoryType = text(o, "memoryType");
    f.serial = text(o, "serial");
    f.gpuCores = integer(o, "gpuCores");
    f.portable = flag(o, "portable");
    f.osName = text(o, "osName");
    f.osVersion = versionOf(o);
    f.osVersionText = text(o, "osVersionText");
    f.osBuild = text(o, "osBuild");
    f.uptime = real(o, "uptime").value_or(0);
    f.hostName = text(o, "hostName").value_or("");
    return f;
}

BatteryFacts batteryOf(const Value& o) {
    BatteryFacts b;
    b.installed = flag(o, "installed").value_or(true);
    b.designCapacity = integer(o, "designCapacity");
    b.fullCapacity = integer(o, "fullCapacity");
    b.currentCapacity = integer(o, "currentCapacity");
    b.cycleCount = integer(o, "cycleCount");
    b.designCycleCount = integer(o, "designCycleCount");
    b.voltage = real(o, "voltage");
    b.current = real(o, "current");
    b.temperature = real(o, "temperature");
    b.charging = flag(o, "charging").value_or(false);
    b.discharging = flag(o, "discharging").value_or(false);
    b.fullyCharged = flag(o, "fullyCharged").value_or(false);
    b.serial = text(o, "serial");
    b.condition = text(o, "condition");
    b.healthPercent = real(o, "healthPercent");
    b.chargePercent = real(o, "chargePercent");
    return b;
}

VolumeFacts volumeOf(const Value& o) {
    VolumeFacts v;
    v.name = text(o, "name");
    v.mountPoint = text(o, "mountPoint").value_or("");
    v.fileSystem = text(o, "fileSystem").value_or("");
    v.totalBytes = integer(o, "totalBytes");
    v.freeBytes = integer(o, "freeBytes");
    v.internal = flag(o, "internal").value_or(true);
    return v;
}

DisplayFacts displayOf(const Value& o) {
    DisplayFacts d;
    d.name = text(o, "name");
    d.resolution = text(o, "resolution").value_or("");
    d.uiResolution = text(o, "uiResolution").value_or("");
    d.refreshRate = text(o, "refreshRate").value_or("");
    d.main = flag(o, "main").value_or(false);
    d.builtIn = flag(o, "builtIn").value_or(false);
    d.connection = text(o, "connection").value_or("");
    return d;
}

GpuFacts gpuOf(const Value& o, std::vector<std::string>* notes) {
    GpuFacts g;
    g.name = text(o, "name");
    g.vendor = text(o, "vendor").value_or("");
    g.cores = text(o, "cores").value_or("");
    g.apiSupport = text(o, "apiSupport").value_or("");
    g.driver = text(o, "driver").value_or("");
    g.displays = listOf<DisplayFacts>(o, "displays", kMaxDisplays, "displays", notes, displayOf);
    return g;
}

// ---- live samples ----------------------------------------------------------------------

// A non-negative integer count; nothing when the value is not one.
std::optional<std::uint64_t> countOf(const Value* v) {
    if (!v) return std::nullopt;
    if (const std::int64_t* i = v->asInt()) {
        if (*i < 0) return std::nullopt;
        return static_cast<std::uint64_t>(*i);
    }
    if (const double* d = v->asReal()) {
        if (!(*d >= 0) || *d >= 1.8e19) return std::nullopt;
        return static_cast<std::uint64_t>(*d);
    }
    return std::nullopt;
}

struct VmField {
    const char* key;
    std::uint64_t VmStats::*slot;
};
constexpr VmField kVmFields[] = {
    {"active", &VmStats::active},
    {"inactive", &VmStats::inactive},
    {"wire", &VmStats::wire},
    {"purgeable", &VmStats::purgeable},
    {"compressor", &VmStats::compressor},
    {"external", &VmStats::external},
};

std::optional<VmStats> vmOf(const Value& sample) {
    const Value* vm = sample.getObject("vm");
    if (!vm) return std::nullopt;
    const auto page = countOf(sample.get("pageSize"));
    if (!page) return std::nullopt;
    VmStats s;
    s.pageSize = *page;
    for (const auto& f : kVmFields)
        s.*f.slot = countOf(vm->get(f.key)).value_or(0);
    return s;
}

std::optional<std::vector<CpuTicks>> ticksOf(const Value& sample) {
    const Value* t = sample.get("cpuTicks");
    const Value::Array* rows = t ? t->asArray() : nullptr;
    if (!rows) return std::nullopt;
    std::vector<CpuTicks> ticks;
    // Counters of more processors than any machine has are not kept.
    const std::size_t count = std::min(rows->size(), static_cast<std::size_t>(kMaxCores));
    ticks.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const Value::Array* r = (*rows)[i].asArray();
        if (!r || r->size() < 4) return std::nullopt;
        std::uint32_t c[4];
        for (int k = 0; k < 4; ++k) {
            // Counters are 32-bit; larger captured values keep their low 32 bits.
            c[k] = static_cast<std::uint32_t>(countOf(&(*r)[k]).value_or(0));
        }
        ticks.push_back({c[0], c[1], c[2], c[3]});
    }
    return ticks;
}

}  // namespace

std::string factsToJson(const MachineFacts& facts) {
    json j = {{"format", "orvane-facts"},
              {"version", kFactsFormatVersion},
              {"hardware", hardwareJson(facts.hardware)},
              {"installedMemory", facts.installedMemory}};
    json power = {{"batteries", json::array()}};
    for (const BatteryFacts& b : facts.power.batteries)
        power["batteries"].push_back(batteryJson(b));
    put(power, "externalPower", facts.power.externalPower);
    put(power, "timeRemaining", facts.power.timeRemaining);
    j["power"] = std::move(power);
    j["volumes"] = json::array();
    for (const VolumeFacts& v : facts.volumes)
        j["volumes"].push_back(volumeJson(v));
    j["graphics"] = json::array();
    for (const GpuFacts& g : facts.graphics)
        j["graphics"].push_back(gpuJson(g));
    return dump(j);
}

std::optional<MachineFacts> factsFromJson(std::span<const std::uint8_t> bytes,
                                          std::vector<std::string>* notes) {
    const std::optional<Value> doc = decodeJsonObject(bytes);
    if (!doc) return std::nullopt;
    const std::string* format = doc->getString("format");
    const std::optional<std::int64_t> version = integer(*doc, "version");
    if (!format || *format != "orvane-facts" || !version || *version < 1 ||
        *version > kFactsFormatVersion)
        return std::nullopt;

    MachineFacts f;
    if (const Value* hw = doc->getObject("hardware")) f.hardware = hardwareOf(*hw);
    f.installedMemory = integer(*doc, "installedMemory").value_or(0);
    if (const Value* power = doc->getObject("power")) {
        f.power.batteries =
            listOf<BatteryFacts>(*power, "batteries", kMaxBatteries, "batteries", notes, batteryOf);
        f.power.externalPower = flag(*power, "externalPower");
        f.power.timeRemaining = integer(*power, "timeRemaining");
    }
    f.volumes = listOf<VolumeFacts>(*doc, "volumes", kMaxVolumes, "volumes", notes, volumeOf);
    f.graphics = listOf<GpuFacts>(*doc, "graphics", kMaxGpus, "graphics processors", notes,
                                  [&](const Value& g) { return gpuOf(g, notes); });
    for (std::string& note : keepPlausible(f))
        if (notes) notes->push_back(std::move(note));
    return f;
}

std::string liveSamplesToJson(const std::vector<LiveInputs>& samples) {
    json rows = json::array();
    for (const LiveInputs& in : samples) {
        json s = {{"uptime", in.uptime}};
        if (in.vm) {
            s["pageSize"] = in.vm->pageSize;
            json vm = json::object();
            for (const auto& f : kVmFields)
                vm[f.key] = (*in.vm).*f.slot;
            s["vm"] = std::move(vm);
        } else {
            s["vm"] = nullptr;
        }
        s["swapUsed"] = in.swapUsed ? json(*in.swapUsed) : json(nullptr);
        if (in.cpuTicks) {
            json ticks = json::array();
            for (const auto& t : *in.cpuTicks)
                ticks.push_back({t.user, t.system, t.idle, t.nice});
            s["cpuTicks"] = std::move(ticks);
        } else {
            s["cpuTicks"] = nullptr;
        }
        rows.push_back(std::move(s));
    }
    return dump({{"samples", rows}});
}

std::vector<LiveInputs> liveSamplesFromJson(std::span<const std::uint8_t> bytes, double uptime) {
    std::vector<LiveInputs> samples;
    const std::optional<Value> live = decodeJson(bytes);
    const Value* s = live ? live->get("samples") : nullptr;
    const Value::Array* arr = s ? s->asArray() : nullptr;
    if (!arr) return samples;
    // No capture takes more samples than a report may ask for.
    const std::size_t count = std::min(arr->size(), kMaxLiveSamples);
    samples.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const Value& sample = (*arr)[i];
        LiveInputs in;
        in.uptime = numberOr(sample.get("uptime"), uptime);
        in.vm = vmOf(sample);
        in.swapUsed = countOf(sample.get("swapUsed"));
        in.cpuTicks = ticksOf(sample);
        samples.push_back(std::move(in));
    }
    return samples;
}

namespace {

constexpr std::size_t kMaxSensorList = 256;

std::optional<double> within(std::optional<double> v, double low, double high) {
    return v && *v >= low && *v <= high ? v : std::nullopt;
}

constexpr const char* kThermalStates[] = {"nominal", "fair", "serious", "critical"};

std::optional<ThermalState> thermalStateOf(const Value& o) {
    const std::optional<std::string> t = text(o, "thermalState");
    for (std::size_t i = 0; i < std::size(kThermalStates); ++i)
        if (t == kThermalStates[i]) return static_cast<ThermalState>(i);
    return std::nullopt;
}

}  // namespace

std::string sensorSamplesToJson(const std::vector<SensorInputs>& samples) {
    json rows = json::array();
    for (const SensorInputs& in : samples) {
        json devices = json::array(), network = json::array(), disks = json::array(),
             gpus = json::array();
        for (const SensorDeviceFacts& d : in.devices) {
            json temps = json::array(), fans = json::array();
            for (const TemperatureFacts& t : d.temperatures) {
                json j = {{"name", t.name}};
                put(j, "celsius", t.celsius);
                put(j, "critical", t.criticalCelsius);
                temps.push_back(std::move(j));
            }
            for (const FanFacts& f : d.fans) {
                json j = {{"name", f.name}};
                put(j, "rpm", f.rpm);
                fans.push_back(std::move(j));
            }
            devices.push_back({{"name", d.name},
                               {"sleeping", d.sleeping},
                               {"temperatures", std::move(temps)},
                               {"fans", std::move(fans)}});
        }
        for (const NetworkCounters& n : in.network)
            network.push_back({{"name", n.name},
                               {"wireless", n.wireless},
                               {"received", n.receivedBytes},
                               {"sent", n.sentBytes}});
        for (const DiskCounters& d : in.disks)
            disks.push_back({{"name", d.name}, {"read", d.readBytes}, {"written", d.writtenBytes}});
        for (const GpuLoadFacts& g : in.gpus) {
            json j = {{"name", g.name}, {"driver", g.driver}, {"sleeping", g.sleeping}};
            put(j, "busyPercent", g.busyPercent);
            gpus.push_back(std::move(j));
        }
        json s = {{"time", in.time},
                  {"devices", std::move(devices)},
                  {"network", std::move(network)},
                  {"disks", std::move(disks)},
                  {"gpus", std::move(gpus)}};
        if (in.thermalState) s["thermalState"] = kThermalStates[static_cast<int>(*in.thermalState)];
        rows.push_back(std::move(s));
    }
    return dump({{"samples", rows}});
}

std::vector<SensorInputs> sensorSamplesFromJson(std::span<const std::uint8_t> bytes) {
    std::vector<SensorInputs> samples;
    const std::optional<Value> doc = decodeJson(bytes);
    if (!doc) return samples;
    const Value::Array& all = objects(*doc, "samples");
    for (std::size_t i = 0; i < all.size() && i < kMaxLiveSamples; ++i) {
        const Value& o = all[i];
        SensorInputs in;
        in.time = real(o, "time").value_or(0);
        in.thermalState = thermalStateOf(o);
        in.devices = listOf<
            SensorDeviceFacts>(o, "devices", kMaxSensorList, "", nullptr, [](const Value& d) {
            SensorDeviceFacts f{
                text(d, "name").value_or(""), flag(d, "sleeping").value_or(false), {}, {}};
            f.temperatures = listOf<TemperatureFacts>(
                d, "temperatures", kMaxSensorList, "", nullptr, [](const Value& t) {
                    return TemperatureFacts{text(t, "name").value_or(""),
                                            within(real(t, "celsius"), -100, 250),
                                            within(real(t, "critical"), 0, 250)};
                });
            f.fans = listOf<FanFacts>(d, "fans", kMaxSensorList, "", nullptr, [](const Value& t) {
                return FanFacts{text(t, "name").value_or(""), within(real(t, "rpm"), 0, 1e6)};
            });
            return f;
        });
        in.network =
            listOf<NetworkCounters>(o, "network", kMaxSensorList, "", nullptr, [](const Value& n) {
                return NetworkCounters{
                    text(n, "name").value_or(""), flag(n, "wireless").value_or(false),
                    countOf(n.get("received")).value_or(0), countOf(n.get("sent")).value_or(0)};
            });
        in.disks =
            listOf<DiskCounters>(o, "disks", kMaxSensorList, "", nullptr, [](const Value& d) {
                return DiskCounters{text(d, "name").value_or(""),
                                    countOf(d.get("read")).value_or(0),
                                    countOf(d.get("written")).value_or(0)};
            });
        in.gpus = listOf<GpuLoadFacts>(o, "gpus", kMaxSensorList, "", nullptr, [](const Value& g) {
            return GpuLoadFacts{text(g, "name").value_or(""), text(g, "driver").value_or(""),
                                flag(g, "sleeping").value_or(false),
                                within(real(g, "busyPercent"), 0, 100)};
        });
        samples.push_back(std::move(in));
    }
    return samples;
}

}  // namespace orvane
