// The captured machines under tests/fixtures, by name.
#pragma once

#include <string>

#include "service/platform/ReplayPlatform.h"

namespace orvane {

// Path of a capture, or of a file inside one ("mac-portable/live.json").
inline std::string capturePath(const std::string& name) {
    return std::string(ORVANE_FIXTURES) + "/" + name;
}

// A platform replaying the capture `machine`.
inline ReplayPlatform capture(const std::string& machine) {
    return ReplayPlatform(capturePath(machine));
}

}  // namespace orvane
