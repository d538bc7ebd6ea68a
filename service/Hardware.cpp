// Hardware and OS information from the platform's facts, each field with its fallback.
#include <algorithm>
#include <cctype>
#include <string>

#include "service/Collectors.h"
#include "service/Fmt.h"
#include "service/Shell.h"

namespace orvane {

namespace {

std::string versionText(const OsVersion& v) {
    std::string text = std::to_string(v.major);
    text += '.';
    text += std::to_string(v.minor);
    if (v.patch >= 1) {
        text += '.';
        text += std::to_string(v.patch);
    }
    return text;
}

}  // namespace

std::string macOSName(std::int64_t major) {
    switch (major) {
        case 11:
            return "macOS Big Sur";
        case 12:
            return "macOS Monterey";
        case 13:
            return "macOS Ventura";
        case 14:
            return "macOS Sonoma";
        case 15:
            return "macOS Sequoia";
        case 26:
            return "macOS Tahoe";
        default:
            return "macOS";
    }
}

HardwareInfo collectHardware(const HardwareFacts& f) {
    HardwareInfo hw;
    hw.modelName = f.modelName.value_or("Mac");
    hw.modelIdentifier = f.modelIdentifier.value_or("");
    hw.chip = f.chip.value_or("");
    // Cores are physical cores; the logical processors are said apart where they differ.
    hw.totalCores = f.physicalCores.value_or(f.logicalProcessors.value_or(0));
    if (f.physicalCores && f.logicalProcessors && *f.logicalProcessors != *f.physicalCores)
        hw.threads = *f.logicalProcessors;
    hw.performanceCores = f.performanceCores.value_or(0);
    hw.efficiencyCores = f.efficiencyCores.value_or(0);
    hw.gpuCores = f.gpuCores.value_or(0);
    hw.serialNumber = f.serial.value_or("");

    // The system's own wording, else the installed bytes; a failed read (0) leaves the field
    // empty rather than claim "0 GB".
    hw.memoryGB = f.memoryText.value_or("");
    if (hw.memoryGB.empty() && f.memoryBytes.value_or(0) >= 1) {
        hw.memoryGB = Fmt::memoryGB(*f.memoryBytes);
    }
    hw.memoryType = f.memoryType.value_or("Unified Memory");

    // The system's form factor where it states one (a PC's chassis); otherwise a MacBook by
    // its identifier ("MacBookPro18,3") or, since identifiers lost the family word
    // ("Mac17,2"), by its model name.
    const auto namesMacBook = [](const std::string& text) {
        return Shell::lowerAscii(text).find("macbook") != std::string::npos;
    };
    hw.isLaptop =
        f.portable ? *f.portable : namesMacBook(hw.modelIdentifier) || namesMacBook(hw.modelName);

    // A non-Mac system names itself; on a Mac the name comes from the major version.
    const OsVersion version = f.osVersion.value_or(OsVersion{});
    if (f.osVersionText) {
        hw.macOSVersion = *f.osVersionText;
    } else if (f.osVersion) {
        hw.macOSVersion = versionText(version);
    }
    hw.macOSName = f.osName ? *f.osName : macOSName(version.major);
    hw.macOSBuild = f.osBuild.value_or("");
    hw.uptime = f.uptime;
    hw.hostname = f.hostName;
    return hw;
}

}  // namespace orvane
