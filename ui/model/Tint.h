// The colours the pages' display values name. Qt-free; Theme::color turns each into the colour of
// the current scheme.
#pragma once

namespace orvane {

enum class Tint {
    primary,    // the default text colour
    secondary,  // dimmed text
    accent,
    green,
    yellow,
    red,
    blue,
    orange,  // the system share of processor load, beside blue for the user share
    white,
};

// The colour of a fill level: green below 0.6, yellow below 0.85, red from 0.85 (also for a
// value that is not a number).
constexpr Tint usageTint(double fraction) {
    // NaN fails both comparisons and so lands on red.
    if (fraction < 0.6) return Tint::green;
    if (fraction < 0.85) return Tint::yellow;
    return Tint::red;
}

}  // namespace orvane
