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

std::string bytes(std::int64_t count) {
    return bytes(count, currentPoint());
}

std::string bytes(std::int64_t count, std::string_view decimalPoint) {
    struct Unit {
        const char* name;
        double size;
        const char* fmt;
    };
    static constexpr Unit kUnits[] = {
        {"MB", 1e6, "%.1f"}, {"GB", 1e9, "%.2f"}, {"TB", 1e12, "%.2f"}};
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

std::string bytesGB(std::int64_t count) {
    const double gb = static_cast<double>(count) / 1'000'000'000.0;
    if (gb < 1000) return formatC("%.0f GB", gb);
    return formatC("%.2f TB", gb / 1000);
}

std::string duration(double seconds) {
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
    const std::int64_t d = s / 86400;
    const std::int64_t h = (s % 86400) / 3600;
    const std::int64_t m = (s % 3600) / 60;
    if (s >= 86400)
        return std::to_string(d) + "d " + std::to_string(h) + "h " + std::to_string(m) + "m";
    if (s % 86400 >= 3600) return std::to_string(h) + "h " + std::to_string(m) + "m";
    return std::to_string(m) + "m";
}

}  // namespace orvane::Fmt
