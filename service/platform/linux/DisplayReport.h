// Graphics processors (/sys/class/drm/cardN) and the displays on their connectors
// (cardN-<type>-M).
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "service/platform/Facts.h"
#include "service/platform/linux/PciIds.h"
#include "service/platform/linux/SysFs.h"

namespace orvane {

// Names from the machine's PCI ID database, remembered once looked up (the file is large).
class PciNameCache {
  public:
    PciIds::Names find(const SysFs& fs, std::uint16_t vendor, std::uint16_t device) const;

  private:
    mutable std::mutex mutex_;
    mutable std::map<std::uint32_t, PciIds::Names> names_;
};

class DisplayReport {
  public:
    DisplayReport(const SysFs& fs, const PciNameCache& names) : fs_(fs), names_(names) {}

    // The graphics processors in card order, each with the displays in use on it; the
    // built-in panel (else the first display) is the main one.
    std::vector<GpuFacts> facts() const;

    struct Connector {
        std::string name;  // "eDP-1", "HDMI-A-2"
        std::string type;  // "eDP", "HDMI-A"
        int index = 0;
    };
    // "card0-HDMI-A-1" of card "card0" -> {"HDMI-A-1", "HDMI-A", 1}; nothing when the entry
    // is not one of that card's connectors.
    static std::optional<Connector> connectorOf(std::string_view entry, std::string_view card);
    static bool isBuiltIn(std::string_view connectorType);
    // A connector type as people write it ("HDMI-A" -> "HDMI", "eDP" -> "Internal"); empty
    // when there is nothing to say.
    static std::string connectionName(std::string_view connectorType);
    // "TigerLake-LP GT2 [Iris Xe Graphics]" -> "Iris Xe Graphics": the marketing name in
    // brackets when there is one; the vendor loses its bracketed short name.
    static std::string productName(std::string_view databaseName);
    static std::string vendorName(std::string_view databaseName);
    // A graphics processor the database does not name: "AMD GPU 73bf" (the vendor's brand,
    // else its database name), "GPU 1f2e:0001" when the vendor is not known either.
    static std::string unnamedGpu(std::uint16_t vendor, std::uint16_t device,
                                  std::string_view databaseVendor);

  private:
    const SysFs& fs_;
    const PciNameCache& names_;
};

}  // namespace orvane
