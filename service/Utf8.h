// Checking and mending UTF-8: names read from the system (mount points, connector names, host
// names) are bytes, and documents and displays need text.
#pragma once

#include <cstddef>
#include <optional>
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

// JSON text in which a byte that is not valid UTF-8 and a \u escape of a lone surrogate
// half are replaced by U+FFFD, so that one bad character in a name does not make a whole
// document unreadable; nothing when there is nothing to mend. The structure is left as it is.
std::optional<std::string> mendJson(std::string_view json);

// Text safe to print on a terminal: control characters (C0, DEL, C1) and the marks and
// overrides that reorder text on screen are written as \xHH or \u{HHHH}; bytes that are not
// valid UTF-8 become U+FFFD.
std::string escapeControls(std::string_view text);

}  // namespace orvane::Utf8
