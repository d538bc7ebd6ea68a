// A cheap look at a property list before the library parses it. The library recurses while
// parsing and freeing, expands shared objects of a binary list once per reference, and asserts
// on a dictionary key or string holding U+0000; documents that would make it do any of that
// are refused here. No tool writes anything near these limits.
#pragma once

#include <cstdint>
#include <span>

namespace orvane {

struct PlistLimits {
    int maxDepth = 256;                // nested arrays and dictionaries
    std::uint64_t maxNodes = 1 << 18;  // values once shared binary objects are expanded
};

// True when the document may be handed to the library: an XML list nests no deeper than the
// limit and holds no NUL character (raw or as a character reference); a binary list has a
// sound object table whose objects nest and expand within the limits, without cycles, and
// whose dictionary keys hold no U+0000.
bool plistWithinLimits(std::span<const std::uint8_t> bytes, const PlistLimits& limits = {});

}  // namespace orvane
