#include "service/Fmt.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <limits>
#include <mutex>

namespace orvane::Fmt {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// snprintf of one number, with "." as the point whatever the process's locale is: the C
// library writes its locale's point, so whatever stands between the number's integer and
// fraction digits becomes ".". No locale is read or changed.
std::string formatC(const char* fmt, double value) {
    char buf[64];
    const int n = std::snprintf(buf, sizeof buf, fmt, value);
    if (n < 0) return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    // A number too long for the buffer (1e308 has 309 digits) is written again in full.
    if (static_cast<std::size_t>(n) < sizeof buf)
        out.assign(buf, static_cast<std::size_t>(n));
    else
        std::snprintf(out.data(), out.size() + 1, fmt, value);
    const std::size_t first = std::find_if(out.begin(), out.end(), isDigit) - out.begin();
    std::size_t point = first;
    while (point < out.size() && isDigit(out[point]))
        ++point;
    std::size_t end = point;
    while (end < out.size() && end - point < 4 && !isDigit(out[end]) && out[end] != ' ' &&
           out[end] != '%')
        ++end;
    if (end > point && end < out.size() && isDigit(out[end])) out.replace(point, end - point, ".");
    return out;
}

// The decimal separator for byte counts, as the user interface's locale gives it.
std::mutex pointMutex;
std::string userPoint = ".";
std::string userGroup = ",";
// U+2212, the minus sign of typeset numbers.
constexpr const char* kMinus = "\u2212";

std::string currentPoint() {
    std::lock_guard lock(pointMutex);
    return userPoint;
}

}  // namespace

std::string format(const char* fmt, double value) {
    return formatC(fmt, value);
}

void setDecimalPoint(std::string_view point) {
    std::lock_guard lock(pointMutex);
    userPoint = point.empty() ? std::string(".") : std::string(point);
}

std::string withDecimalPoint(std::string text) {
    const std::string point = currentPoint();
    for (std::size_t i = 1; i + 1 < text.size(); ++i) {
        if (text[i] == '.' && isDigit(text[i - 1]) && isDigit(text[i + 1])) {
            text.replace(i, 1, point);
            break;
        }
    }
    return text;
}

std::string rate(double bytesPerSecond) {
    const double v = std::isfinite(bytesPerSecond) ? std::max(bytesPerSecond, 0.0) : 0.0;
    // A value that rounds to 1000 of a unit is shown in the next one.
    if (v < 999.5) return formatC("%.0f B/s", v);
    if (v < 999.95e3) return withDecimalPoint(formatC("%.1f kB/s", v / 1e3));
    if (v < 999.95e6) return withDecimalPoint(formatC("%.1f MB/s", v / 1e6));
    return withDecimalPoint(formatC("%.2f GB/s", v / 1e9));
}

std::string bytes(std::int64_t count) {
    return bytes(count, currentPoint());
}

namespace {

struct Unit {
    const char* name;
    double size;
    const char* fmt;
};

// MB, GB and TB of `kUnits`' sizes, as bytes() describes them.
template <std::size_t N>
std::string inUnits(std::int64_t count, std::string_view decimalPoint, const Unit (&kUnits)[N]) {
    const double c = static_cast<double>(count);
    // The largest unit the magnitude reaches; then the next one while the rounded number would
    // read 1000 or more ("1000 GB" is shown as "1 TB").
    std::size_t u = 0;
    while (u + 1 < std::size(kUnits) && std::fabs(c) >= kUnits[u + 1].size)
        ++u;
    std::string number = formatC(kUnits[u].fmt, c / kUnits[u].size);
    // Four digits before the point (the text is in the "C" locale).
    const auto reachesThousand = [](const std::string& n) {
        const std::size_t start = n.starts_with('-') ? 1 : 0;
        return n.find('.') - start >= 4;
    };
    while (u + 1 < std::size(kUnits) && reachesThousand(number)) {
        ++u;
        number = formatC(kUnits[u].fmt, c / kUnits[u].size);
    }
    // Drop trailing fractional zeros and a bare decimal point: "500.00" -> "500".
    if (const auto dot = number.find('.'); dot != std::string::npos) {
        auto end = number.find_last_not_of('0');
        if (end == dot) --end;
        number.erase(end + 1);
        if (const auto d = number.find('.'); d != std::string::npos)
            number.replace(d, 1, decimalPoint);
    }
    if (number == "-0") number = "0";
    return number + " " + kUnits[u].name;
}

constexpr double kKiB = 1024.0;

}  // namespace

std::string bytes(std::int64_t count, std::string_view decimalPoint) {
    static constexpr Unit kUnits[] = {
        {"MB", 1e6, "%.1f"}, {"GB", 1e9, "%.2f"}, {"TB", 1e12, "%.2f"}};
    return inUnits(count, decimalPoint, kUnits);
}

std::string memory(std::int64_t count) {
    static constexpr Unit kUnits[] = {{"MB", kKiB * kKiB, "%.1f"},
                                      {"GB", kKiB * kKiB * kKiB, "%.2f"},
                                      {"TB", kKiB * kKiB * kKiB * kKiB, "%.2f"}};
    return inUnits(count, currentPoint(), kUnits);
}

std::string memoryGB(std::int64_t count) {
    const double gb = static_cast<double>(count) / (kKiB * kKiB * kKiB);
    if (gb < 1024) return formatC("%.0f GB", gb);
    return withDecimalPoint(formatC("%.2f TB", gb / kKiB));
}

void setGroupSeparator(std::string_view separator) {
    std::lock_guard lock(pointMutex);
    userGroup = std::string(separator);
}

std::string integer(std::int64_t value) {
    // Digits from the magnitude, so the smallest value has no sign to lose.
    std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    const std::string digits = std::to_string(magnitude);
    std::string group;
    {
        std::lock_guard lock(pointMutex);
        group = userGroup;
    }
    std::string out = value < 0 ? kMinus : "";
    for (std::size_t i = 0; i < digits.size(); ++i) {
        // Groups of three from the right, from four digits on.
        if (i > 0 && digits.size() >= 4 && (digits.size() - i) % 3 == 0) out += group;
        out += digits[i];
    }
    return out;
}

std::string withMinusSign(std::string text) {
    if (text.starts_with('-') && text.size() > 1 && isDigit(text[1])) text.replace(0, 1, kMinus);
    return text;
}

std::string bytesGB(std::int64_t count) {
    const double gb = static_cast<double>(count) / 1'000'000'000.0;
    if (gb < 1000) return formatC("%.0f GB", gb);
    return formatC("%.2f TB", gb / 1000);
}

std::string duration(double seconds) {
    const DurationParts p = durationParts(seconds);
    if (p.days > 0)
        return std::to_string(p.days) + "d " + std::to_string(p.hours) + "h " +
               std::to_string(p.minutes) + "m";
    if (p.hours > 0) return std::to_string(p.hours) + "h " + std::to_string(p.minutes) + "m";
    return std::to_string(p.minutes) + "m";
}

DurationParts durationParts(double seconds) {
    std::int64_t s = 0;
    if (std::isnan(seconds)) {
        s = 0;
    } else if (seconds >= 9.2e18) {
        s = std::numeric_limits<std::int64_t>::max();
    } else if (seconds <= -9.2e18) {
        s = std::numeric_limits<std::int64_t>::min() + 1;
    } else {
        s = static_cast<std::int64_t>(seconds);
    }
    // Below a day the days are 0, and a negative time reads as its hours and minutes, as
    // before the parts were given apart.
    return {s >= 86400 ? s / 86400 : 0, s % 86400 >= 3600 ? (s % 86400) / 3600 : 0,
            (s % 3600) / 60};
}

}  // namespace orvane::Fmt
