// The operating-system identification file (/etc/os-release): KEY=value lines, values
// optionally in single or double quotes with backslash escapes, "#" comments.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

struct OsRelease {
    std::map<std::string, std::string, std::less<>> fields;

    static OsRelease parse(std::string_view text);
    // A field's value; nothing when absent or empty.
    std::optional<std::string> get(std::string_view key) const;
};

}  // namespace orvane
