#include "ui/model/PageText.h"

#include <atomic>

#include "service/Fmt.h"

namespace orvane::PageText {

std::string percent(double value) {
    // The language places the sign: "91%", German "91 %".
    return arg(translate("PageText", "%1%"), {Fmt::withMinusSign(Fmt::format("%.0f", value))});
}

std::string integer(std::int64_t value) {
    return Fmt::integer(value);
}

std::string duration(double seconds) {
    const Fmt::DurationParts p = Fmt::durationParts(seconds);
    const std::string d = std::to_string(p.days), h = std::to_string(p.hours),
                      m = std::to_string(p.minutes);
    if (p.days > 0) return arg(translate("PageText", "%1d %2h %3m"), {d, h, m});
    if (p.hours > 0) return arg(translate("PageText", "%1h %2m"), {h, m});
    return arg(translate("PageText", "%1m"), {m});
}

namespace {
std::atomic<Translator> gTranslator{nullptr};

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}
}  // namespace

std::string arg(std::string pattern, std::initializer_list<std::string> values) {
    // Each marker is replaced once, left to right in the values, so a value that itself holds
    // "%2" is not replaced again.
    std::string out;
    std::size_t i = 0;
    while (i < pattern.size()) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' &&
            pattern[i + 1] <= '9' &&
            static_cast<std::size_t>(pattern[i + 1] - '1') < values.size()) {
            out += values.begin()[pattern[i + 1] - '1'];
            i += 2;
        } else {
            out += pattern[i++];
        }
    }
    return out;
}

void setTranslator(Translator translator) {
    gTranslator = translator;
}

std::string translate(const char* context, const char* source, const char* disambiguation, int n) {
    if (const Translator t = gTranslator) return t(context, source, disambiguation, n);
    std::string out = source;
    if (n >= 0) replaceAll(out, "%n", integer(n));
    return out;
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

Row notRead(Row row) {
    if (row.value.empty() || row.value == kNotRead) {
        row.value = kNotRead;
        row.valueColor = Tint::secondary;
    }
    return row;
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
    return isMac(osName) ? translate("PageText", "Know your Mac")
                         : translate("PageText", "Know your computer");
}

}  // namespace orvane::PageText
