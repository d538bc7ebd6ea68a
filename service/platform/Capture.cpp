#include "service/platform/Capture.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <nlohmann/json.hpp>
#include <thread>

#include "service/platform/FactsJson.h"
#include "service/platform/ReplayPlatform.h"

namespace orvane {

namespace {

// Creates `p` (never an existing file, never through a symbolic link) and writes `text`, every
// write, the flush to disk and the close checked. Returns why it failed, or empty text.
std::string writeFile(const std::filesystem::path& p, const std::string& text) {
    const auto failed = [&](int error) {
        return "cannot write " + p.string() + ": " + std::strerror(error);
    };
    const int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) return failed(errno);
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : EIO;
            ::close(fd);
            return failed(error);
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        return failed(error);
    }
    if (::close(fd) != 0) return failed(errno);
    return {};
}

std::string jsonText(const nlohmann::json& j) {
    // Kernel values and host names are not always valid UTF-8: such bytes become U+FFFD
    // rather than make the capture fail part way.
    return j.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

// The Mac's own sources: each tool's output byte for byte, the kernel values, the host.
std::string writeMacSources(const MacSource& mac, const std::filesystem::path& dir) {
    for (const auto& line : MacCaptureSource::commandLines()) {
        const auto bytes = mac.runData(line.path, line.args);
        if (bytes.empty()) continue;  // that tool could not be read: no file
        const auto file = dir / MacCaptureSource::fileFor(line.path, line.args);
        if (auto error = writeFile(file, std::string(bytes.begin(), bytes.end())); !error.empty())
            return error;
    }

    nlohmann::json kernel = nlohmann::json::object();
    for (const char* name : {"hw.model", "machdep.cpu.brand_string"})
        if (auto s = mac.sysctlString(name); !s.empty()) kernel[name] = s;
    for (const char* name :
         {"hw.ncpu", "hw.memsize", "hw.perflevel0.physicalcpu", "hw.perflevel1.physicalcpu"})
        if (auto v = mac.sysctlInt(name); v != 0) kernel[name] = v;
    if (auto error = writeFile(dir / "kernel.json", jsonText(kernel)); !error.empty()) return error;

    const OsVersion v = mac.osVersion();
    const nlohmann::json host = {{"osVersion", {v.major, v.minor, v.patch}},
                                 {"uptime", mac.uptime()},
                                 {"hostName", mac.hostName()}};
    return writeFile(dir / "host.json", jsonText(host));
}

// The tools and kernel values behind a Mac or a replayed Mac capture, whose output a capture
// keeps byte for byte; nothing for any other platform.
const MacSource* macSourceOf(const Platform& platform) {
    if (const auto* mac = dynamic_cast<const MacPlatform*>(&platform)) return &mac->source();
    if (const auto* replay = dynamic_cast<const ReplayPlatform*>(&platform))
        return replay->macSource();
    return nullptr;
}

// Writes every file of the capture into `dir`, which exists and is empty.
std::string writeFiles(const Platform& platform, const std::filesystem::path& dir,
                       const CaptureOptions& options, const std::string& journal) {
    if (const MacSource* mac = macSourceOf(platform)) {
        if (std::string error = writeMacSources(*mac, dir); !error.empty()) return error;
    } else {
        const MachineFacts facts{platform.hardware(), platform.power(), platform.volumes(),
                                 platform.graphics(), platform.installedMemory()};
        if (auto error = writeFile(dir / "facts.json", factsToJson(facts)); !error.empty())
            return error;
    }

    std::vector<LiveInputs> samples;
    std::vector<SensorInputs> sensors;
    bool anySensor = false;
    for (int i = 0; i < std::max(options.samples, 1); ++i) {
        if (i > 0) std::this_thread::sleep_for(options.interval);
        samples.push_back(platform.sampleLive());
        sensors.push_back(platform.sampleSensors());
        const SensorInputs& in = sensors.back();
        anySensor = anySensor || !in.devices.empty() || !in.network.empty() || !in.disks.empty() ||
                    !in.gpus.empty() || in.thermalState;
    }
    // Sensors and throughput where the machine has any, sampled with the live samples.
    if (anySensor) {
        const std::string text = sensorSamplesToJson(sensors);
        if (text.size() > kMaxCaptureFileBytes)
            return "too many sensor samples for one capture (" + std::to_string(text.size() >> 20) +
                   " MB): take fewer";
        if (std::string error = writeFile(dir / "sensors.json", text); !error.empty()) return error;
    }
    const std::string live = liveSamplesToJson(samples);
    // A replay reads no larger file: say so now rather than lose the samples later.
    if (live.size() > kMaxCaptureFileBytes)
        return "too many live samples for one capture (" + std::to_string(live.size() >> 20) +
               " MB): take fewer";
    if (std::string error = writeFile(dir / "live.json", live); !error.empty()) return error;
    return journal.empty() ? std::string() : writeFile(dir / "journal.json", journal);
}

}  // namespace

std::string writeCapture(const Platform& platform, const std::filesystem::path& target,
                         const CaptureOptions& options, const std::string& journal) {
    namespace fs = std::filesystem;
    std::error_code ec;
    // A target that is a symbolic link to a directory means that directory.
    const fs::path dir = fs::weakly_canonical(fs::absolute(target, ec), ec);
    if (ec || dir.filename().empty()) return "cannot write a capture to " + target.string();
    const fs::path parent = dir.parent_path();
    fs::create_directories(parent, ec);
    if (ec) return "cannot create " + parent.string() + ": " + ec.message();

    // An existing directory is replaced only when it is empty or holds a capture: anything
    // else in it would be lost.
    const auto status = fs::symlink_status(dir, ec);
    const bool exists = status.type() != fs::file_type::not_found;
    if (exists && status.type() != fs::file_type::directory)
        return "cannot write a capture to " + dir.string() + ": it is not a directory";
    if (exists && !fs::is_empty(dir, ec) && !holdsCaptureFiles(dir))
        return "cannot write a capture to " + dir.string() +
               ": it holds other files (choose a new or empty directory)";

    // The files are written into a new directory beside the target, made for this process
    // alone, and it takes the target's place only once every file is complete: a capture that
    // fails part way leaves nothing behind, and nothing planted in the target is written
    // through.
    std::string pattern = (parent / ("." + dir.filename().string() + ".tmp-XXXXXX")).string();
    if (!::mkdtemp(pattern.data()))
        return "cannot create a directory in " + parent.string() + ": " + std::strerror(errno);
    const fs::path temp = pattern;
    const auto discard = [&](std::string error) {
        std::error_code ignored;
        fs::remove_all(temp, ignored);
        return error;
    };
    if (std::string error = writeFiles(platform, temp, options, journal); !error.empty())
        return discard(error);
    ::chmod(temp.c_str(), 0755);

    // An empty directory is replaced in one step; a previous capture is moved aside first
    // and removed once the new one is in place (put back when that fails).
    fs::path old;
    if (exists && !fs::is_empty(dir, ec)) {
        std::string aside = (parent / ("." + dir.filename().string() + ".old-XXXXXX")).string();
        if (!::mkdtemp(aside.data()) || ::rename(dir.c_str(), aside.c_str()) != 0)
            return discard("cannot replace " + dir.string() + ": " + std::strerror(errno));
        old = aside;
    }
    if (::rename(temp.c_str(), dir.c_str()) != 0) {
        const int error = errno;
        if (!old.empty()) ::rename(old.c_str(), dir.c_str());
        return discard("cannot write " + dir.string() + ": " + std::strerror(error));
    }
    if (!old.empty()) fs::remove_all(old, ec);
    return {};
}

}  // namespace orvane
