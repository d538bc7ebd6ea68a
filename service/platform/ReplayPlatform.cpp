#include "service/platform/ReplayPlatform.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "service/platform/FactLimits.h"
#include "service/platform/FactsJson.h"

namespace orvane {

namespace {

// Reads a capture file, noting why one that is there could not be read.
std::optional<std::vector<std::uint8_t>> readNoting(const std::filesystem::path& p,
                                                    std::vector<std::string>* problems) {
    std::string problem;
    auto bytes = readCaptureFile(p, &problem);
    if (!problem.empty() && problems) problems->push_back(std::move(problem));
    return bytes;
}

std::optional<Value> readJson(const std::filesystem::path& p, std::vector<std::string>* problems) {
    auto bytes = readNoting(p, problems);
    if (!bytes) return std::nullopt;
    return decodeJson(*bytes);
}

std::unique_ptr<CapturedLive> readLive(const std::filesystem::path& dir, double uptime,
                                       std::vector<std::string>* problems) {
    const auto bytes = readNoting(dir / "live.json", problems);
    return std::make_unique<CapturedLive>(
        bytes ? liveSamplesFromJson(*bytes, uptime) : std::vector<LiveInputs>{}, uptime);
}

}  // namespace

std::optional<std::vector<std::uint8_t>> readCaptureFile(const std::filesystem::path& p,
                                                         std::string* problem) {
    const auto fail = [&](const std::string& why) {
        if (problem) *problem = "cannot read " + p.string() + ": " + why;
        return std::nullopt;
    };
    const auto failErrno = [&](int error) { return fail(std::strerror(error)); };
    const std::string tooLarge =
        "larger than " + std::to_string(kMaxCaptureFileBytes >> 20) + " MB";
    // A symbolic link is followed: a capture put together from files kept elsewhere is
    // legitimate. What counts is what is opened: a look before opening spares devices the
    // open itself, and the look at the open descriptor decides (the path may have been
    // swapped in between). Non-blocking, so that nothing made to look like a file stalls.
    struct stat st {};
    if (::stat(p.c_str(), &st) != 0) return errno == ENOENT ? std::nullopt : failErrno(errno);
    if (!S_ISREG(st.st_mode)) return fail("not a regular file");
    struct File {
        int fd;
        ~File() {
            if (fd >= 0) ::close(fd);
        }
    } const file{::open(p.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY)};
    const int fd = file.fd;
    if (fd < 0) return errno == ENOENT ? std::nullopt : failErrno(errno);
    if (::fstat(fd, &st) != 0) return failErrno(errno);
    if (!S_ISREG(st.st_mode)) return fail("not a regular file");
    if (static_cast<std::uintmax_t>(st.st_size) > kMaxCaptureFileBytes) return fail(tooLarge);
    // Files of the kernel's own file systems state no size: read to the end, one byte past
    // the limit at most.
    std::vector<std::uint8_t> bytes(std::clamp<std::size_t>(
        static_cast<std::size_t>(st.st_size) + 1, 4096, kMaxCaptureFileBytes + 1));
    std::size_t used = 0;
    while (used <= kMaxCaptureFileBytes) {
        if (used == bytes.size())
            bytes.resize(std::min<std::size_t>(bytes.size() * 2, kMaxCaptureFileBytes + 1));
        const ssize_t n = ::read(fd, bytes.data() + used, bytes.size() - used);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return failErrno(errno);
        if (n == 0) break;
        used += static_cast<std::size_t>(n);
    }
    if (used > kMaxCaptureFileBytes) return fail(tooLarge);
    bytes.resize(used);
    return bytes;
}

bool holdsCaptureFiles(const std::filesystem::path& dir) {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name == "facts.json" || name == "live.json" || name == "host.json" ||
            name == "sensors.json" || name == "kernel.json" ||
            name.rfind("system_profiler-", 0) == 0 || name.rfind("ioreg-", 0) == 0 ||
            name.rfind("sw_vers-", 0) == 0)
            return true;
    }
    return false;
}

LiveInputs CapturedLive::next() const {
    const std::size_t k = next_.fetch_add(1, std::memory_order_relaxed);
    if (samples_.empty()) return LiveInputs{uptime_, std::nullopt, std::nullopt, std::nullopt};
    return samples_[std::min(k, samples_.size() - 1)];
}

std::string MacCaptureSource::fileFor(const std::string& path,
                                      const std::vector<std::string>& args) {
    if (path == kSystemProfiler && args.size() == 2 && args[1] == "-json" &&
        args[0].rfind("SP", 0) == 0 && args[0].find('/') == std::string::npos)
        return "system_profiler-" + args[0] + ".json";
    if (path == kIoreg && args == std::vector<std::string>{"-r", "-c", "AppleSmartBattery", "-a"})
        return "ioreg-AppleSmartBattery.plist";
    if (path == kSwVers && args == std::vector<std::string>{"-buildVersion"})
        return "sw_vers-buildVersion.txt";
    return {};
}

const std::vector<MacCaptureSource::CommandLine>& MacCaptureSource::commandLines() {
    static const std::vector<CommandLine> lines = {
        {kSystemProfiler, {"SPHardwareDataType", "-json"}},
        {kSystemProfiler, {"SPMemoryDataType", "-json"}},
        {kSystemProfiler, {"SPPowerDataType", "-json"}},
        {kSystemProfiler, {"SPStorageDataType", "-json"}},
        {kSystemProfiler, {"SPDisplaysDataType", "-json"}},
        {kIoreg, {"-r", "-c", "AppleSmartBattery", "-a"}},
        {kSwVers, {"-buildVersion"}},
    };
    return lines;
}

MacCaptureSource::MacCaptureSource(const std::filesystem::path& dir,
                                   std::vector<std::string>* problems) {
    // Only the outputs the Mac platform asks for are read; other files are left alone.
    for (const CommandLine& line : commandLines()) {
        const std::string name = fileFor(line.path, line.args);
        if (auto bytes = readNoting(dir / name, problems))
            outputs_.emplace(name, std::move(*bytes));
    }
    kernel_ = readJson(dir / "kernel.json", problems);

    if (auto host = readJson(dir / "host.json", problems)) {
        if (const Value* v = host->get("osVersion"); v && v->asArray()) {
            const auto& a = *v->asArray();
            auto at = [&](std::size_t i) {
                return i < a.size() ? saturatingInt64(numberOr(&a[i], 0)) : 0;
            };
            osVersion_ = {at(0), at(1), at(2)};
        }
        uptime_ = numberOr(host->get("uptime"), 0);
        if (const std::string* s = host->getString("hostName")) hostName_ = *s;
    }
    live_ = readLive(dir, uptime_, problems);
}

std::vector<std::uint8_t> MacCaptureSource::runData(const std::string& path,
                                                    const std::vector<std::string>& args) const {
    const std::string file = fileFor(path, args);
    if (file.empty()) return {};
    auto it = outputs_.find(file);
    return it == outputs_.end() ? std::vector<std::uint8_t>{} : it->second;
}

std::string MacCaptureSource::sysctlString(const std::string& name) const {
    if (!kernel_) return {};
    const std::string* s = kernel_->getString(name);
    return s ? *s : std::string();
}

std::int64_t MacCaptureSource::sysctlInt(const std::string& name) const {
    if (!kernel_) return 0;
    const Value* v = kernel_->get(name);
    if (!v) return 0;
    if (const std::int64_t* i = v->asInt()) return *i;
    return 0;
}

ReplayPlatform::ReplayPlatform(const std::filesystem::path& dir) : dir_(dir) {
    // A directory that cannot be listed is one problem; its files then fail for the same
    // reason and are not reported again.
    std::error_code ec;
    std::filesystem::directory_iterator list(dir, ec);
    std::vector<std::string>* problems = &problems_;
    if (ec) {
        problems_.push_back("cannot read capture directory " + dir.string() + ": " + ec.message());
        problems = nullptr;
    }
    if (const auto bytes = readNoting(dir / "sensors.json", problems))
        sensors_ = sensorSamplesFromJson(*bytes);
    if (const auto bytes = readNoting(dir / "facts.json", problems)) {
        facts_ = factsFromJson(*bytes, &notes_);
        if (!facts_) {
            // Not shown as an empty Mac: a document this program cannot read is an error.
            problems_.push_back("cannot read " + (dir / "facts.json").string() +
                                ": not a well-formed facts document of format version " +
                                std::to_string(kFactsFormatVersion) + " or earlier");
            facts_.emplace();
        }
        holdsFacts_ = true;
        live_ = readLive(dir, facts_->hardware.uptime, problems);
        return;
    }
    // A Mac capture is decoded once, here, so that what it claims is checked like any other.
    mac_ = std::make_unique<MacPlatform>(std::make_shared<MacCaptureSource>(dir, problems));
    facts_ = MachineFacts{mac_->hardware(), mac_->power(), mac_->volumes(), mac_->graphics(),
                          mac_->installedMemory()};
    notes_ = keepPlausible(*facts_);
}

HardwareFacts ReplayPlatform::hardware() const {
    return facts_->hardware;
}
PowerFacts ReplayPlatform::power() const {
    return facts_->power;
}
std::vector<VolumeFacts> ReplayPlatform::volumes() const {
    return facts_->volumes;
}
std::vector<GpuFacts> ReplayPlatform::graphics() const {
    return facts_->graphics;
}
std::int64_t ReplayPlatform::installedMemory() const {
    return facts_->installedMemory;
}
LiveInputs ReplayPlatform::sampleLive() const {
    return mac_ ? mac_->sampleLive() : live_->next();
}

SensorInputs ReplayPlatform::sampleSensors() const {
    if (sensors_.empty()) return {};
    const std::size_t k = nextSensors_.fetch_add(1, std::memory_order_relaxed);
    const std::size_t last = sensors_.size() - 1;
    SensorInputs in = sensors_[std::min(k, last)];
    if (k > last) in.time += static_cast<double>(k - last);
    return in;
}

}  // namespace orvane
