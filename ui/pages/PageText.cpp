#include "ui/pages/PageText.h"

#include "service/Fmt.h"

namespace orvane::PageText {

std::string percent(double value) {
    return Fmt::format("%.0f%%", value);
}

std::string integer(std::int64_t value) {
    return std::to_string(value);
}

std::string counted(std::int64_t n, const std::string& word) {
    return integer(n) + " " + word + (n == 1 ? "" : "s");
}

std::string joined(const std::vector<std::string>& parts, const std::string& separator) {
    std::string out;
    for (const std::string& part : parts) {
        if (part.empty()) continue;
        if (!out.empty()) out += separator;
        out += part;
    }
    return out;
}

std::string bracketed(const std::string& text) {
    return text.empty() ? std::string() : "(" + text + ")";
}

std::vector<Line> withDividers(const std::vector<Row>& rows) {
    std::vector<Line> lines;
    for (const Row& row : rows) {
        if (!lines.empty()) lines.push_back(Line{true, {}});
        lines.push_back(Line{false, row});
    }
    return lines;
}

bool isMac(const std::string& osName) {
#if defined(__APPLE__)
    constexpr bool kBuiltForMac = true;
#else
    constexpr bool kBuiltForMac = false;
#endif
    return osName.empty() ? kBuiltForMac : osName.rfind("macOS", 0) == 0;
}

std::string tagline(const std::string& osName) {
    return isMac(osName) ? "Know your Mac" : "Know your computer";
}

}  // namespace orvane::PageText
