// The platform of the machine the program runs on.
#pragma once

#include <filesystem>
#include <memory>

#include "service/platform/Platform.h"

namespace orvane {

// macOS: the Mac's own tools and kernel interfaces. Linux: /proc and /sys under `sysroot`.
std::shared_ptr<const Platform> makeHostPlatform(const std::filesystem::path& sysroot = "/");

}  // namespace orvane
