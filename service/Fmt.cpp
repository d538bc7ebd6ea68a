#include "service/Fmt.h"

#include <langinfo.h>
#include <locale.h>

#include <cmath>
#include <cstdio>
#include <iterator>
#include <limits>

namespace orvane::Fmt {

namespace {

// snprintf in the "C" locale whatever the process locale is, so "." is always the point.
std::string formatC(const char* fmt, double value) {
    static const locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(0));
    const locale_t previous = cLocale ? uselocale(cLocale) : static_cast<locale_t>(0);
    char buf[64];
    const int n = std::snprintf(buf, sizeof buf, fmt, value);
    if (cLocale) uselocale(previous);
    if (n < 0) return {};
    return std::string(buf, static_cast<std::size_t>(std::min<int>(n, sizeof buf - 1)));
}

}  // namespace

std::string format(const char* fmt, double value) {
    return formatC(fmt, value);
}

const std::string& localeDecimalPoint() {
    static const std::string point = [] {
        std::string p = ".";
        if (locale_t loc = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0))) {
            const char* radix = nl_langinfo_l(RADIXCHAR, loc);
            if (radix && *radix) p = radix;
            freelocale(loc);
        }
        return p;
    }();
    return point;
}

std::string bytes(std::int64_t count) {
    return bytes(count, localeDecimalPoint());
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
