// A captured machine, read back from a capture directory: one file per source, a missing
// file meaning that source cannot be read. The files are read once, at construction.
#pragma once

#include <atomic>
#include <filesystem>
#include <map>

#include "service/Values.h"
#include "service/platform/Platform.h"

namespace orvane {

class ReplayPlatform final : public Platform {
  public:
    explicit ReplayPlatform(const std::filesystem::path& dir);

    // The capture file that holds the output of a command line; empty for other lines.
    static std::string fileFor(const std::string& path, const std::vector<std::string>& args);

    std::vector<std::uint8_t> runData(const std::string& path,
                                      const std::vector<std::string>& args) const override;
    std::string sysctlString(const std::string& name) const override;
    std::int64_t sysctlInt(const std::string& name) const override;
    OsVersion osVersion() const override { return osVersion_; }
    std::optional<std::string> osName() const override { return osName_; }
    std::optional<std::string> osVersionText() const override { return osVersionText_; }
    double uptime() const override { return uptime_; }
    std::string hostName() const override { return hostName_; }
    std::optional<bool> isPortable() const override { return portable_; }
    // The k-th call reads the k-th sample; the last sample repeats.
    LiveInputs sampleLive() const override;

  private:
    std::map<std::string, std::vector<std::uint8_t>> outputs_;
    std::optional<Value> kernel_;
    OsVersion osVersion_;
    std::optional<std::string> osName_;
    std::optional<std::string> osVersionText_;
    double uptime_ = 0;
    std::string hostName_;
    std::optional<bool> portable_;
    std::vector<LiveInputs> samples_;
    mutable std::atomic<std::size_t> nextSample_{0};
};

}  // namespace orvane
