// A graphics processor's load from its clients' engine time, for drivers without a busy
// percentage of their own (i915, xe, older amdgpu): every open DRM file shows in
// /proc/<pid>/fdinfo/<fd> how long each engine worked for it ("drm-engine-render: 1234 ns"),
// or how many cycles it was busy out of how many passed ("drm-cycles-rcs",
// "drm-total-cycles-rcs"). The load is the busiest engine's share between two samples.
//
// Only the processes this user may look into are seen, so another user's work is missed.
// Never wakes what sleeps: the device an open file belongs to is found from its link
// (/dev/dri/renderD128) through /sys before anything of it is read, and the files of a
// sleeping device are not read.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "service/platform/linux/SysFs.h"

namespace orvane {

// One fdinfo file of a DRM client.
struct DrmFdinfo {
    struct Engine {
        std::string name;                    // "render", "gfx", "rcs"
        std::uint64_t busy = 0;              // nanoseconds, or cycles where `cycles`
        std::optional<std::uint64_t> total;  // cycles that passed (drm-total-cycles-)
        std::uint64_t capacity = 1;          // identical engines in the group
        bool cycles = false;
        bool operator==(const Engine&) const = default;
    };
    std::string driver;  // drm-driver
    std::string pdev;    // drm-pdev: the PCI function ("0000:00:02.0"); may be empty
    std::optional<std::uint64_t> clientId;
    std::vector<Engine> engines;
    bool operator==(const DrmFdinfo&) const = default;
};

// Nothing when the text is not a DRM client's (no drm-driver line).
std::optional<DrmFdinfo> parseDrmFdinfo(std::string_view text);

class DrmClients {
  public:
    explicit DrmClients(const SysFs& fs);
    ~DrmClients();
    DrmClients(const DrmClients&) = delete;
    DrmClients& operator=(const DrmClients&) = delete;

    // The busiest engine's share in percent, 0 to 100, per PCI function whose clients were
    // seen in this and the previous sample (at `seconds` on a forward-only clock). `awake`
    // says whether a PCI function may be read; its clients are skipped otherwise.
    std::map<std::string, double> sample(double seconds,
                                         const std::function<bool(const std::string&)>& awake);

  private:
    struct Client;
    void rescan();

    const SysFs& fs_;
    int samplesSinceScan_ = 0;
    std::vector<std::unique_ptr<Client>> clients_;
    std::map<std::string, std::string> nodePci_;  // "renderD128" -> "0000:00:02.0"
    // The previous sample: per PCI function, client and engine, the counters.
    std::map<std::string, std::uint64_t> previous_;
    std::map<std::string, std::uint64_t> previousTotal_;
    std::optional<double> previousSeconds_;
    std::string buffer_;
};

}  // namespace orvane
