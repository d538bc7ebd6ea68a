#include "service/platform/linux/OsRelease.h"

#include "service/platform/linux/SysText.h"

namespace orvane {

namespace {

bool validKey(std::string_view key) {
    if (key.empty()) return false;
    for (char c : key)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
              c == '_'))
            return false;
    return true;
}

// A shell-style value: quoted parts lose their quotes, backslash escapes the next character
// (not inside single quotes).
std::string unquote(std::string_view v) {
    std::string out;
    char quote = 0;
    for (std::size_t i = 0; i < v.size(); ++i) {
        const char c = v[i];
        if (quote == '\'') {
            if (c == '\'') {
                quote = 0;
            } else {
                out += c;
            }
        } else if (c == '\\' && i + 1 < v.size()) {
            out += v[++i];
        } else if (quote == '"') {
            if (c == '"') {
                quote = 0;
            } else {
                out += c;
            }
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

OsRelease OsRelease::parse(std::string_view text) {
    OsRelease release;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = SysText::trim(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line.front() == '#') continue;
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        const std::string_view key = SysText::trim(line.substr(0, eq));
        if (!validKey(key)) continue;
        release.fields[std::string(key)] = SysText::clean(unquote(line.substr(eq + 1)));
    }
    return release;
}

std::optional<std::string> OsRelease::get(std::string_view key) const {
    const auto it = fields.find(key);
    if (it == fields.end() || it->second.empty()) return std::nullopt;
    return it->second;
}

}  // namespace orvane
