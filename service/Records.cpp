#include "service/Records.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <random>

#include "service/Shell.h"

namespace orvane {

namespace {

bool contains(const std::string& haystack, const char* needle) {
    return haystack.find(needle) != std::string::npos;
}

}  // namespace

Uuid Uuid::random() {
    thread_local std::mt19937_64 engine = [] {
        std::random_device rd;
        std::seed_seq seq{rd(), rd(), rd(), rd(), rd(), rd(), rd(), rd()};
        return std::mt19937_64(seq);
    }();
    Uuid u;
    const std::uint64_t a = engine(), b = engine();
    for (int i = 0; i < 8; ++i) {
        u.bytes[i] = static_cast<std::uint8_t>(a >> (8 * i));
        u.bytes[8 + i] = static_cast<std::uint8_t>(b >> (8 * i));
    }
    u.bytes[6] = static_cast<std::uint8_t>((u.bytes[6] & 0x0F) | 0x40);  // version 4
    u.bytes[8] = static_cast<std::uint8_t>((u.bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant
    return u;
}

std::string Uuid::toString() const {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string s;
    s.reserve(36);
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) s += '-';
        s += kHex[bytes[i] >> 4];
        s += kHex[bytes[i] & 0x0F];
    }
    return s;
}

std::string HardwareInfo::symbol() const {
    // The family word that starts the identifier ("iMacPro1,1" is an iMac, not a Mac Pro);
    // current identifiers ("Mac14,14") carry none, and then the model name's does ("Mac
    // Studio", read without case or spaces). Else the form factor.
    const auto family = [](const std::string& text) -> const char* {
        std::string word = Shell::lowerAscii(text);
        word.erase(std::remove(word.begin(), word.end(), ' '), word.end());
        const auto startsWith = [&](const char* prefix) { return word.rfind(prefix, 0) == 0; };
        if (startsWith("macbook")) return "laptopcomputer";
        if (startsWith("macmini")) return "macmini";
        if (startsWith("macstudio")) return "macstudio";
        if (startsWith("macpro")) return "macpro.gen3";
        if (startsWith("imac")) return "desktopcomputer";
        return nullptr;
    };
    if (const char* symbol = family(modelIdentifier)) return symbol;
    if (const char* symbol = family(modelName)) return symbol;
    return isLaptop ? "laptopcomputer" : "desktopcomputer";
}

double LiveMetrics::memUsedFraction() const {
    if (memTotalBytes < 1) return 0;
    return static_cast<double>(memUsedBytes) / static_cast<double>(memTotalBytes);
}

std::string BatteryInfo::conditionColorName() const {
    const std::string c = Shell::lowerAscii(condition);
    if (contains(c, "normal")) return "green";
    if (contains(c, "good")) return "green";
    if (contains(c, "fair")) return "yellow";
    if (contains(c, "service")) return "red";
    if (contains(c, "replace")) return "red";
    if (contains(c, "poor")) return "red";
    // Older systems' "Check Battery", which their own window shows as "Service Recommended".
    if (contains(c, "check battery")) return "red";
    return "secondary";
}

VolumeInfo::VolumeInfo(std::string name_, std::string mountPoint_, std::string fileSystem_,
                       std::int64_t totalBytes_, std::int64_t freeBytes_, bool isInternal_,
                       bool isBoot_)
    : name(std::move(name_)),
      mountPoint(std::move(mountPoint_)),
      fileSystem(std::move(fileSystem_)),
      totalBytes(totalBytes_),
      freeBytes(freeBytes_),
      isInternal(isInternal_),
      isBoot(isBoot_) {}

std::int64_t VolumeInfo::usedBytes() const {
    std::int64_t used = 0;
    // Values that would overflow saturate instead of wrapping.
    if (__builtin_sub_overflow(totalBytes, freeBytes, &used)) used = freeBytes < 0 ? INT64_MAX : 0;
    return std::max<std::int64_t>(used, 0);
}

double VolumeInfo::usedFraction() const {
    if (totalBytes < 1) return 0.0;
    return static_cast<double>(usedBytes()) / static_cast<double>(totalBytes);
}

GraphicsInfo::GraphicsInfo(std::string name_, std::string vendor_, std::string cores_,
                           std::string metalSupport_, std::string driver_)
    : name(std::move(name_)),
      vendor(std::move(vendor_)),
      cores(std::move(cores_)),
      metalSupport(std::move(metalSupport_)),
      driver(std::move(driver_)) {}

DisplayInfo::DisplayInfo(std::string name_, std::string resolution_, std::string uiResolution_,
                         bool isMain_, bool isBuiltIn_, std::string connectionType_,
                         std::string refreshRate_)
    : name(std::move(name_)),
      resolution(std::move(resolution_)),
      uiResolution(std::move(uiResolution_)),
      isMain(isMain_),
      isBuiltIn(isBuiltIn_),
      connectionType(std::move(connectionType_)),
      refreshRate(std::move(refreshRate_)) {}

}  // namespace orvane
