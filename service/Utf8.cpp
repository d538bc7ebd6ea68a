#include "service/Utf8.h"

#include <array>
#include <cstdint>

namespace orvane::Utf8 {

std::size_t sequenceLength(std::string_view s, std::size_t i) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = b(i);
    if (c < 0x80) return 1;
    std::size_t n = 0;
    std::uint32_t cp = 0;
    if ((c & 0xE0) == 0xC0) {
        n = 2;
        cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        n = 3;
        cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        n = 4;
        cp = c & 0x07;
    } else {
        return 0;
    }
    if (i + n > s.size()) return 0;
    for (std::size_t k = 1; k < n; ++k) {
        if ((b(i + k) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b(i + k) & 0x3F);
    }
    static constexpr std::array<std::uint32_t, 5> kMin = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMin[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return n;
}

bool isValid(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = sequenceLength(s, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

std::string replaceInvalid(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = sequenceLength(text, i);
        if (n == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
        } else {
            out.append(text.substr(i, n));
            i += n;
        }
    }
    return out;
}

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// The code unit of a \uXXXX escape at `i` (the backslash), or -1.
long escapedUnit(std::string_view s, std::size_t i) {
    if (i + 6 > s.size() || s[i] != '\\' || s[i + 1] != 'u') return -1;
    long v = 0;
    for (std::size_t k = i + 2; k < i + 6; ++k) {
        const char c = s[k];
        const int d = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : -1;
        if (d < 0) return -1;
        v = v * 16 + d;
    }
    return v;
}

bool isHigh(long u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool isLow(long u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

// Code points shown escaped: C0, DEL, C1, and the bidirectional marks, embeddings, overrides
// and isolates.
bool isControl(std::uint32_t cp) {
    return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F) || cp == 0x061C || cp == 0x200E ||
           cp == 0x200F || (cp >= 0x202A && cp <= 0x202E) || (cp >= 0x2066 && cp <= 0x2069);
}

std::uint32_t decode(std::string_view s, std::size_t i, std::size_t n) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    if (n == 1) return b(i);
    std::uint32_t cp = b(i) & (0xFF >> (n + 1));
    for (std::size_t k = 1; k < n; ++k)
        cp = (cp << 6) | (b(i + k) & 0x3F);
    return cp;
}

}  // namespace

std::optional<std::string> mendJson(std::string_view json) {
    // Bytes outside strings that are not valid are syntax errors either way: replacing them
    // everywhere changes nothing that parses. Escapes only mean something inside strings.
    std::string out;
    bool mended = false;
    bool inString = false;
    for (std::size_t i = 0; i < json.size();) {
        const char c = json[i];
        if (const std::size_t n = sequenceLength(json, i); n == 0) {
            out += kReplacement;
            mended = true;
            ++i;
        } else if (!inString || c != '\\') {
            if (c == '"') inString = !inString;
            out.append(json.substr(i, n));
            i += n;
        } else if (const long u = escapedUnit(json, i);
                   isHigh(u) && isLow(escapedUnit(json, i + 6))) {
            out.append(json.substr(i, 12));
            i += 12;
        } else if (isHigh(u) || isLow(u)) {
            out += "\\uFFFD";
            mended = true;
            i += 6;
        } else {
            out.append(json.substr(i, std::min<std::size_t>(2, json.size() - i)));
            i += 2;
        }
    }
    if (!mended) return std::nullopt;
    return out;
}

std::string escapeControls(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = sequenceLength(text, i);
        if (n == 0) {
            out += kReplacement;
            ++i;
            continue;
        }
        const std::uint32_t cp = decode(text, i, n);
        if (!isControl(cp)) {
            out.append(text.substr(i, n));
        } else if (cp < 0x80) {
            out += "\\x";
            out += kHex[cp >> 4];
            out += kHex[cp & 0xF];
        } else {
            out += "\\u{";
            for (int shift = 12; shift >= 0; shift -= 4)
                out += kHex[(cp >> shift) & 0xF];
            out += '}';
        }
        i += n;
    }
    return out;
}

}  // namespace orvane::Utf8
