// The plain display values the pages lay out, and the formatting rules they share. Qt-free,
// so the rules of every page can be tested without widgets.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "ui/model/Symbol.h"
#include "ui/model/Tint.h"

namespace orvane::PageText {

// One label/value line of a card.
struct Row {
    std::string label;
    std::string value;
    Symbol icon = Symbol::none;
    Tint valueColor = Tint::primary;
    bool operator==(const Row&) const = default;
};

// One entry of a card's stack: a row, or a divider line between rows.
struct Line {
    bool divider = false;
    Row row;
    bool operator==(const Line&) const = default;
};

// Arguments of a ring gauge.
struct Gauge {
    double fraction = 0;
    std::string title;
    std::string subtitle;
    Tint tint = Tint::green;
    bool operator==(const Gauge&) const = default;
};

// Arguments of a labelled usage bar; no tint means "colour by fill level".
struct Bar {
    std::string label;
    std::string detail;
    double fraction = 0;
    std::optional<Tint> tint;
    bool operator==(const Bar&) const = default;
};

// Arguments of a summary chip.
struct Chip {
    Symbol icon = Symbol::none;
    std::string value;
    std::string caption;
    Tint tint = Tint::accent;
    // What the chip is ("Memory"), for assistive technology; empty: the caption says it.
    std::string what;
    bool operator==(const Chip&) const = default;
};

// A short word on a tinted capsule ("Main", "Startup", a battery condition).
struct Badge {
    std::string text;
    Tint color = Tint::secondary;
    bool operator==(const Badge&) const = default;
};

// Translation of what the pages show: the interface installs QCoreApplication::translate
// (UTF-8 in and out), so the models' texts take the same path as the widgets' tr(). `n` >= 0
// makes a plural: "%n" becomes n and the catalogues give each language its forms (English
// too: "%n volume(s)" reads "1 volume", "2 volumes"). Without a translator the source stays,
// with "%n" filled in.
using Translator = std::string (*)(const char* context, const char* source,
                                   const char* disambiguation, int n);
void setTranslator(Translator translator);
std::string translate(const char* context, const char* source, const char* disambiguation = nullptr,
                      int n = -1);

// `pattern` with %1, %2, ... replaced by `values` in order (a translated text orders them).
std::string arg(std::string pattern, std::initializer_list<std::string> values);

// value rounded to a whole number (ties to even, as printf rounds) with the language's percent
// sign: 99.5 -> "100%", 0.5 -> "0%", German "100 %".
std::string percent(double value);
// A decimal integer, grouped from four digits on and with a minus sign: "12,345", "−5".
std::string integer(std::int64_t value);
// Days, hours and minutes in the language's words: "1d 2h 3m", German "1 T 2 Std. 3 Min.".
std::string duration(double seconds);
// A page's list of devices: "Reading…" until the first collection has finished, then its
// items, or an empty state saying none were found.
enum class ListState { reading, items, empty };
inline ListState listState(bool loaded, bool hasItems) {
    return hasItems ? ListState::items : loaded ? ListState::empty : ListState::reading;
}
// The placeholder of a value that was not read.
inline const std::string kNotRead = "-";
// The non-empty parts joined by `separator`: an empty part brings no separator of its own.
std::string joined(const std::vector<std::string>& parts, const std::string& separator);
// `text` in round brackets, or nothing when it is empty.
std::string bracketed(const std::string& text);
// The row as it is, or, when its value is empty or "-" (not read), with the placeholder "-" in
// the secondary style.
Row notRead(Row row);
// The rows with a divider between each two neighbours (none after the last).
std::vector<Line> withDividers(const std::vector<Row>& rows);

// Whether the records describe a Mac: its system is named "macOS…". Labels that name the
// Mac's own system ("macOS", "Metal") follow this; other machines get their own. Before the
// machine has been read (no name yet), the platform the program was built for decides.
bool isMac(const std::string& osName);
// The brand line: "Know your Mac" on a Mac, "Know your computer" elsewhere (translated).
std::string tagline(const std::string& osName);

}  // namespace orvane::PageText
