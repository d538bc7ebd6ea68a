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
// Memory in binary units, as the operating system counts memory (1 GB = 1024^3 bytes),
// otherwise written as bytes() writes it: 34359738368 -> "32 GB", 1610612736 -> "1.5 GB".
std::string memory(std::int64_t count);
// Installed memory in whole binary gigabytes: 17179869184 -> "16 GB".
std::string memoryGB(std::int64_t count);
// The digit-group separator of the user's locale ("," until set). Any thread.
void setGroupSeparator(std::string_view separator);
// An integer with its digits grouped in threes from four digits on, and a minus sign (U+2212)
// when negative: 12345 -> "12,345", 999 -> "999", -5 -> "−5".
std::string integer(std::int64_t value);
// `text` with a leading hyphen-minus before a digit written as the minus sign U+2212.
std::string withMinusSign(std::string text);
// Whole days, hours and minutes of a time span (days only from a day on, hours only from an
// hour on).
struct DurationParts {
    std::int64_t days = 0;
    std::int64_t hours = 0;
    std::int64_t minutes = 0;
};
DurationParts durationParts(double seconds);
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
