// Names of PCI vendors and devices from the PCI ID database text (pci.ids): vendor lines
// "vvvv  Name", device lines "\tdddd  Name", subsystem lines "\t\t…", comments "#".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvane {

struct PciIds {
    struct Names {
        std::string vendor;  // empty when unknown
        std::string device;  // empty when unknown
    };

    static Names lookup(std::string_view database, std::uint16_t vendor, std::uint16_t device);

    // A few vendors of graphics processors, for machines without the database.
    static std::string knownVendor(std::uint16_t vendor);
    // The short brand of those vendors ("AMD" for 0x1002); empty for any other.
    static std::string knownBrand(std::uint16_t vendor);
};

}  // namespace orvane
