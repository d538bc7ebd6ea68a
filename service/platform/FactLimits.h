// What a captured machine may claim: values outside any real range are not readings, and
// lists longer than any real machine's are cut, so that a hostile capture can neither show
// nonsense nor take the memory and time of millions of entries.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "service/platform/Facts.h"

namespace orvane {

inline constexpr std::size_t kMaxVolumes = 256;
inline constexpr std::size_t kMaxGpus = 64;
inline constexpr std::size_t kMaxDisplays = 64;  // over all graphics processors
inline constexpr std::size_t kMaxBatteries = 16;
inline constexpr std::int64_t kMaxCores = 4096;  // and rows of processor counters

// Makes every value out of its range "not known" (0 where the fact has no such state) and
// drops the entries past the limits; returns one line for each list that was cut.
std::vector<std::string> keepPlausible(MachineFacts& facts);

}  // namespace orvane
