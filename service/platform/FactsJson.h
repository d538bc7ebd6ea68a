// The facts of a machine as one JSON document of our own ("facts.json" in a capture), and
// the live samples of a capture ("live.json"). Reading is lenient: a member that is missing
// or of the wrong kind is "not known"; nothing throws.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "service/platform/Facts.h"
#include "service/platform/SensorFacts.h"

namespace orvane {

// Version of the facts document; a reader refuses documents of a later version.
inline constexpr int kFactsFormatVersion = 1;

std::string factsToJson(const MachineFacts& facts);
// Nothing when the bytes are not a facts document of a version this program reads. Values out
// of any real range are not known, and entries past the lists' limits are left out, each
// list that was cut adding a line to `notes` (FactLimits.h).
std::optional<MachineFacts> factsFromJson(std::span<const std::uint8_t> bytes,
                                          std::vector<std::string>* notes = nullptr);

// The most live samples a capture holds that are read back.
inline constexpr std::size_t kMaxLiveSamples = 3600;

std::string liveSamplesToJson(const std::vector<LiveInputs>& samples);
// Samples without an uptime take `uptime`.
std::vector<LiveInputs> liveSamplesFromJson(std::span<const std::uint8_t> bytes, double uptime);

// The sensor samples of a capture ("sensors.json"): `{"samples": [{"time", "thermalState",
// "devices", "network", "disks", "gpus"}, ...]}`. Readings out of any real range are not
// known; lists past a machine's size are cut.
std::string sensorSamplesToJson(const std::vector<SensorInputs>& samples);
std::vector<SensorInputs> sensorSamplesFromJson(std::span<const std::uint8_t> bytes);

}  // namespace orvane
