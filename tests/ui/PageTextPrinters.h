// Readable gtest output for the pages' display values.
#pragma once

#include <ostream>

#include "ui/model/PageText.h"

namespace orvane {

inline std::ostream& operator<<(std::ostream& os, Symbol s) {
    return os << "Symbol(" << static_cast<int>(s) << ")";
}
inline std::ostream& operator<<(std::ostream& os, Tint t) {
    return os << "Tint(" << static_cast<int>(t) << ")";
}
inline std::ostream& operator<<(std::ostream& os, const std::optional<Tint>& t) {
    if (!t) return os << "no tint";
    return os << *t;
}

}  // namespace orvane

namespace orvane::PageText {

inline void PrintTo(const Row& r, std::ostream* os) {
    *os << "Row{" << r.label << " | " << r.value << " | " << r.icon << " | " << r.valueColor << "}";
}
inline void PrintTo(const Line& l, std::ostream* os) {
    if (l.divider)
        *os << "Divider";
    else
        PrintTo(l.row, os);
}
inline void PrintTo(const Gauge& g, std::ostream* os) {
    *os << "Gauge{" << g.fraction << " | " << g.title << " | " << g.subtitle << " | " << g.tint
        << "}";
}
inline void PrintTo(const Bar& b, std::ostream* os) {
    *os << "Bar{" << b.label << " | " << b.detail << " | " << b.fraction << " | " << b.tint << "}";
}
inline void PrintTo(const Chip& c, std::ostream* os) {
    *os << "Chip{" << c.icon << " | " << c.value << " | " << c.caption << " | " << c.tint << "}";
}
inline void PrintTo(const Badge& b, std::ostream* os) {
    *os << "Badge{" << b.text << " | " << b.color << "}";
}

}  // namespace orvane::PageText
