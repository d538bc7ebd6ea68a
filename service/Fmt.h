// Display text for byte counts and durations.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvane::Fmt {

// Byte count in decimal MB, GB or TB (the largest unit in which it is at least 1, MB below
// that; a count that rounds to 1000 of a unit is shown in the next one), with the decimal
// separator last set by setDecimalPoint ("." until then): 17179869184 -> "17.18 GB",
// 999999999999 -> "1 TB".
std::string bytes(std::int64_t count);
// Same, with an explicit decimal separator.
std::string bytes(std::int64_t count, std::string_view decimalPoint);
// The decimal separator of the user's locale, as the user interface knows it (an app started
// from the Finder runs in the C library's "C" locale whatever the user chose). Any thread.
void setDecimalPoint(std::string_view point);
// Whole decimal gigabytes ("%.0f GB"), or terabytes with two decimals from 1000 GB on.
std::string bytesGB(std::int64_t count);
// Bytes per second in decimal units, with the user's decimal separator: 512 -> "512 B/s",
// 12345 -> "12.3 kB/s", 4.56e6 -> "4.6 MB/s", 1.234e9 -> "1.23 GB/s".
std::string rate(double bytesPerSecond);
// Days, hours and minutes: 93784 -> "1d 2h 3m", 3660 -> "1h 1m", 59 -> "0m".
std::string duration(double seconds);
// printf-style formatting that always uses "." as the decimal point.
std::string format(const char* fmt, double value);
// `text` with its first decimal point (a "." between digits) written as the separator last set
// by setDecimalPoint: "36.5 °C" -> "36,5 °C" for a German user.
std::string withDecimalPoint(std::string text);

}  // namespace orvane::Fmt
