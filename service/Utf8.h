// Checking and mending UTF-8: names read from the system (mount points, connector names, host
// names) are bytes, and documents and displays need text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orvane::Utf8 {

// Length of the valid UTF-8 sequence starting at `i` of `s`, or 0 when none starts there.
std::size_t sequenceLength(std::string_view s, std::size_t i);
// Whether all of `s` is valid UTF-8.
bool isValid(std::string_view s);
// The text with every byte that is not part of valid UTF-8 replaced by U+FFFD; nothing else
// changes.
std::string replaceInvalid(std::string_view text);

}  // namespace orvane::Utf8
