// Writes a capture directory of any platform, in the format ReplayPlatform reads.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>

#include "service/platform/Platform.h"

namespace orvane {

struct CaptureOptions {
    int samples = 3;  // live samples to record
    std::chrono::milliseconds interval{1000};
};

// Writes one file per source that could be read into a new directory beside `dir`, and puts
// it in the place of `dir` (which may be missing, empty, or a previous capture) once complete.
// Returns an error message with the system's reason, or empty text on success; on failure
// nothing is left behind and a previous capture is kept.
std::string writeCapture(const Platform& platform, const std::filesystem::path& dir,
                         const CaptureOptions& options = {});

}  // namespace orvane
