// The captured machines under tests/fixtures, by name.
#pragma once

#include <string>

namespace orvane {

// Path of a capture, or of a file inside one ("mac-portable/live.json").
inline std::string capturePath(const std::string& name) {
    return std::string(ORVANE_FIXTURES) + "/" + name;
}

}  // namespace orvane
