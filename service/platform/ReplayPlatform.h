// A captured machine, read back from a capture directory. A Mac capture holds the tools'
// outputs, one file per source (a missing file: that source cannot be read), and replays
// through the Mac decoders; a capture of any other machine holds its facts ("facts.json").
// Both keep their live samples in "live.json", and their sensor samples, where the machine has
// any, in "sensors.json". The files are read once, at construction.
#pragma once

#include <atomic>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>

#include "service/Values.h"
#include "service/platform/Platform.h"
#include "service/platform/mac/MacPlatform.h"

namespace orvane {

// The live samples of a capture: the k-th call reads the k-th sample; the last one repeats.
class CapturedLive {
  public:
    CapturedLive(std::vector<LiveInputs> samples, double uptime)
        : samples_(std::move(samples)), uptime_(uptime) {}
    LiveInputs next() const;

  private:
    std::vector<LiveInputs> samples_;
    double uptime_ = 0;
    mutable std::atomic<std::size_t> next_{0};
};

// A Mac capture's files, answering as the Mac's tools and kernel values would.
class MacCaptureSource final : public MacSource {
  public:
    // Files that exist but cannot be read are added to `problems`, when given.
    explicit MacCaptureSource(const std::filesystem::path& dir,
                              std::vector<std::string>* problems = nullptr);

    struct CommandLine {
        const char* path;
        std::vector<std::string> args;
    };
    // The command lines whose output a Mac capture holds.
    static const std::vector<CommandLine>& commandLines();
    // The capture file that holds the output of a command line; empty for other lines.
    static std::string fileFor(const std::string& path, const std::vector<std::string>& args);

    std::vector<std::uint8_t> runData(const std::string& path,
                                      const std::vector<std::string>& args) const override;
    std::string sysctlString(const std::string& name) const override;
    std::int64_t sysctlInt(const std::string& name) const override;
    OsVersion osVersion() const override { return osVersion_; }
    double uptime() const override { return uptime_; }
    std::string hostName() const override { return hostName_; }
    LiveInputs sampleLive() const override { return live_->next(); }

  private:
    std::map<std::string, std::vector<std::uint8_t>> outputs_;
    std::optional<Value> kernel_;
    OsVersion osVersion_;
    double uptime_ = 0;
    std::string hostName_;
    std::unique_ptr<CapturedLive> live_;
};

class ReplayPlatform final : public Platform {
  public:
    explicit ReplayPlatform(const std::filesystem::path& dir);

    // Whether the directory holds a capture of another machine's facts (else: a Mac's).
    bool holdsFacts() const { return holdsFacts_; }
    // What could not be read, one line each: the directory itself, files that are there but
    // unreadable or too large, a facts document this program does not read. A missing file is
    // no problem: that source had nothing. A capture with problems is not the machine it shows.
    const std::vector<std::string>& problems() const { return problems_; }
    // What was left out of a capture that was read: lists longer than any machine's.
    const std::vector<std::string>& notes() const { return notes_; }

    HardwareFacts hardware() const override;
    PowerFacts power() const override;
    std::vector<VolumeFacts> volumes() const override;
    std::vector<GpuFacts> graphics() const override;
    std::int64_t installedMemory() const override;
    LiveInputs sampleLive() const override;
    // The k-th call reads the k-th sample; past the last, the last repeats a second later
    // each time (its counters stand still).
    SensorInputs sampleSensors() const override;
    // A Mac capture's files; nothing for a capture of facts.
    const MacSource* macSource() const { return mac_ ? &mac_->source() : nullptr; }
    // The capture directory read.
    const std::filesystem::path& dir() const { return dir_; }

  private:
    std::filesystem::path dir_;
    std::vector<std::string> problems_;
    std::vector<std::string> notes_;
    bool holdsFacts_ = false;
    std::optional<MachineFacts> facts_;   // as read, or as decoded from a Mac's outputs
    std::unique_ptr<CapturedLive> live_;  // with facts
    std::unique_ptr<MacPlatform> mac_;    // without
    std::vector<SensorInputs> sensors_;
    mutable std::atomic<std::size_t> nextSensors_{0};
};

// Whether `dir` holds any of the files a capture is made of; a directory chosen by mistake
// holds none.
bool holdsCaptureFiles(const std::filesystem::path& dir);

// The largest capture file read: a real one is kilobytes (live samples of a large machine a
// few megabytes), and decoding takes many times its size in memory.
inline constexpr std::uintmax_t kMaxCaptureFileBytes = 8u << 20;

// A capture file's bytes; nothing when it is missing, not a regular file, unreadable or larger
// than kMaxCaptureFileBytes. Why a file that is there could not be read goes to `problem`.
std::optional<std::vector<std::uint8_t>> readCaptureFile(const std::filesystem::path& p,
                                                         std::string* problem = nullptr);

}  // namespace orvane
