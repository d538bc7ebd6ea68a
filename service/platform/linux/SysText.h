// Small text helpers for the values of /proc and /sys files.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::SysText {

// Without ASCII white space (spaces, tabs, line breaks, NUL padding) at both ends.
std::string_view trim(std::string_view text);
// Runs of non-white-space characters.
std::vector<std::string_view> words(std::string_view text);
// Words joined by single spaces ("Intel(R)  Core(TM)  i7" -> "Intel(R) Core(TM) i7").
std::string collapseSpaces(std::string_view text);

// Unsigned decimal integer made of ASCII digits only; nothing on anything else or overflow.
std::optional<std::uint64_t> parseUnsigned(std::string_view text);
// Signed decimal integer (optional leading '-' or '+'); nothing on anything else or overflow.
std::optional<std::int64_t> parseSigned(std::string_view text);
// Hexadecimal integer with an optional "0x" prefix; nothing on anything else or overflow.
std::optional<std::uint64_t> parseHex(std::string_view text);

// Text safe to show and to put in a document: valid UTF-8 is kept minus control characters;
// otherwise only the printable ASCII bytes survive. Trimmed.
std::string clean(std::string_view text);

// DMI fields that firmware fills with placeholders ("To be filled by O.E.M.", "Default
// string", …) tell nothing.
bool isPlaceholder(std::string_view text);

// The processors of a kernel CPU list such as "0-3,8-11", in its order; nothing when
// malformed or implausibly long.
std::optional<std::vector<std::uint32_t>> cpuList(std::string_view text);
// Number of processors in such a list; nothing when malformed.
std::optional<std::uint64_t> cpuListCount(std::string_view text);

}  // namespace orvane::SysText
