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

// Creates `dir` if needed and writes one file per source that could be read, and the journal's
// points ("journal.json") when `journal` holds them. Returns an error message, or empty text on
// success.
std::string writeCapture(const Platform& platform, const std::filesystem::path& dir,
                         const CaptureOptions& options = {}, const std::string& journal = {});

}  // namespace orvane
