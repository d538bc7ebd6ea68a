#include "service/Records.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <random>

namespace orvane {

namespace {

// Whether `needle` (in lower case) occurs in `text`, ASCII letters compared without case.
bool contains(std::string_view text, std::string_view needle) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return !std::ranges::search(text, needle, {}, lower).empty();
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

std::string_view symbolName(MachineKind kind) {
    switch (kind) {
        case MachineKind::laptop:
            return "laptopcomputer";
        case MachineKind::desktop:
            return "desktopcomputer";
        case MachineKind::macMini:
            return "macmini";
        case MachineKind::macStudio:
            return "macstudio";
        case MachineKind::macPro:
            return "macpro.gen3";
    }
    return "desktopcomputer";
}

std::string_view tintName(ConditionTint tint) {
    switch (tint) {
        case ConditionTint::green:
            return "green";
        case ConditionTint::yellow:
            return "yellow";
        case ConditionTint::red:
            return "red";
        case ConditionTint::secondary:
            return "secondary";
    }
    return "secondary";
}

MachineKind HardwareInfo::symbol() const {
    // The family word that starts the identifier ("iMacPro1,1" is an iMac, not a Mac Pro);
    // current identifiers ("Mac14,14") carry none, and then the model name's does ("Mac
    // Studio", read without case or spaces). Else the form factor.
    const auto family = [](std::string_view text) -> std::optional<MachineKind> {
        std::string word;
        for (char c : text)
            if (c != ' ') word += c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
        const auto startsWith = [&](std::string_view prefix) { return word.starts_with(prefix); };
        if (startsWith("macbook")) return MachineKind::laptop;
        if (startsWith("macmini")) return MachineKind::macMini;
        if (startsWith("macstudio")) return MachineKind::macStudio;
        if (startsWith("macpro")) return MachineKind::macPro;
        if (startsWith("imac")) return MachineKind::desktop;
        return std::nullopt;
    };
    if (const auto kind = family(modelIdentifier)) return *kind;
    if (const auto kind = family(modelName)) return *kind;
    return isLaptop ? MachineKind::laptop : MachineKind::desktop;
}

double LiveMetrics::memUsedFraction() const {
    if (memTotalBytes < 1) return 0;
    return static_cast<double>(memUsedBytes) / static_cast<double>(memTotalBytes);
}

ConditionTint BatteryInfo::conditionTint() const {
    const std::string& c = condition;
    if (contains(c, "normal")) return ConditionTint::green;
    if (contains(c, "good")) return ConditionTint::green;
    if (contains(c, "fair")) return ConditionTint::yellow;
    if (contains(c, "service")) return ConditionTint::red;
    if (contains(c, "replace")) return ConditionTint::red;
    if (contains(c, "poor")) return ConditionTint::red;
    // Older systems' "Check Battery", which their own window shows as "Service Recommended".
    if (contains(c, "check battery")) return ConditionTint::red;
    return ConditionTint::secondary;
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
