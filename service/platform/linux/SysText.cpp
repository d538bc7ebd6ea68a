#include "service/platform/linux/SysText.h"

#include <array>
#include <limits>

#include "service/Shell.h"
#include "service/Utf8.h"

namespace orvane::SysText {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f' || c == '\0';
}

}  // namespace

std::string_view trim(std::string_view text) {
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> words(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isSpace(text[i]))
            ++i;
        const std::size_t start = i;
        while (i < text.size() && !isSpace(text[i]))
            ++i;
        if (i > start) out.push_back(text.substr(start, i - start));
    }
    return out;
}

std::string collapseSpaces(std::string_view text) {
    std::string out;
    for (std::string_view w : words(text)) {
        if (!out.empty()) out += ' ';
        out += w;
    }
    return out;
}

std::optional<std::uint64_t> parseUnsigned(std::string_view text) {
    if (text.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (value > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

std::optional<std::int64_t> parseSigned(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const std::optional<std::uint64_t> magnitude = parseUnsigned(text);
    if (!magnitude) return std::nullopt;
    constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    if (negative) {
        if (*magnitude > kMax + 1) return std::nullopt;
        return *magnitude == kMax + 1 ? std::numeric_limits<std::int64_t>::min()
                                      : -static_cast<std::int64_t>(*magnitude);
    }
    if (*magnitude > kMax) return std::nullopt;
    return static_cast<std::int64_t>(*magnitude);
}

std::optional<std::uint64_t> parseHex(std::string_view text) {
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.remove_prefix(2);
    if (text.empty() || text.size() > 16) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : text) {
        int digit = 0;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            return std::nullopt;
        }
        value = (value << 4) | static_cast<std::uint64_t>(digit);
    }
    return value;
}

std::string clean(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    if (Utf8::isValid(text)) {
        for (char c : text) {
            const auto u = static_cast<unsigned char>(c);
            if (u >= 0x20 && u != 0x7F) out += c;
        }
    } else {
        for (char c : text) {
            const auto u = static_cast<unsigned char>(c);
            if (u >= 0x20 && u < 0x7F) out += c;
        }
    }
    return std::string(trim(out));
}

bool isPlaceholder(std::string_view text) {
    static constexpr std::array<std::string_view, 16> kPlaceholders = {"to be filled by o.e.m.",
                                                                       "to be filled by o.e.m",
                                                                       "default string",
                                                                       "not specified",
                                                                       "system product name",
                                                                       "system version",
                                                                       "system serial number",
                                                                       "0123456789",
                                                                       "none",
                                                                       "not applicable",
                                                                       "n/a",
                                                                       "oem",
                                                                       "o.e.m.",
                                                                       "type1productconfigid",
                                                                       "invalid",
                                                                       "unknown"};
    const std::string l = Shell::lowerAscii(trim(text));
    if (l.empty()) return true;
    for (std::string_view p : kPlaceholders)
        if (l == p) return true;
    return false;
}

std::optional<std::vector<std::uint32_t>> cpuList(std::string_view text) {
    // A machine has far fewer processors; larger numbers mean a corrupt file.
    constexpr std::uint64_t kMaxProcessor = 1u << 20;
    constexpr std::size_t kMaxMembers = 1u << 16;
    text = trim(text);
    if (text.empty()) return std::nullopt;
    std::vector<std::uint32_t> cpus;
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const std::string_view part = text.substr(0, comma);
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
        const std::size_t dash = part.find('-');
        const auto first = parseUnsigned(part.substr(0, dash));
        if (!first) return std::nullopt;
        std::uint64_t last = *first;
        if (dash != std::string_view::npos) {
            const auto l = parseUnsigned(part.substr(dash + 1));
            if (!l || *l < *first) return std::nullopt;
            last = *l;
        }
        if (last >= kMaxProcessor || last - *first >= kMaxMembers - cpus.size())
            return std::nullopt;
        for (std::uint64_t cpu = *first; cpu <= last; ++cpu)
            cpus.push_back(static_cast<std::uint32_t>(cpu));
    }
    return cpus;
}

std::optional<std::uint64_t> cpuListCount(std::string_view text) {
    const auto cpus = cpuList(text);
    if (!cpus) return std::nullopt;
    return cpus->size();
}

}  // namespace orvane::SysText
