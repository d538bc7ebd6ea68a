// The common look: accent and status colours, the usage colour by fill level, fonts, the
// light and dark palettes, and small painting helpers shared by the components.
#pragma once

#include <QColor>
#include <QFont>
#include <QLinearGradient>
#include <QPainterPath>
#include <QPalette>
#include <QRectF>
#include <QRegion>
#include <QString>
#include <vector>

#include "ui/model/Layout.h"
#include "ui/model/Tint.h"

namespace orvane {

// Which foreground colour a text or icon follows.
enum class TextStyle { primary, secondary };

}  // namespace orvane

namespace orvane::Theme {

// The colour of a text style in the current scheme.
QColor styleColor(TextStyle style);

// The accent colour (0.39, 0.45, 0.96).
QColor accent();
// Corner radius of cards.
inline constexpr qreal cardCorner = Layout::cardCorner;

// The colour of a tint in the current scheme (primary and secondary follow it).
QColor color(Tint tint);
// The shade of a tint for text, drawn on the theme's surfaces: darker in light mode and lighter
// in dark mode than the fill colour, so that it reads at 4.5:1 or more (primary, secondary and
// white are their own text colours).
QColor textColor(Tint tint);
// The shade of a tint for lines, areas and swatches that carry meaning (3:1 or more).
QColor markColor(Tint tint);
// A capsule badge's fill: the tint at `opacity` (or the secondary colour for Tint::secondary).
QColor badgeFill(Tint tint, qreal opacity);
// The two ends of the Overview banner's gradient, and the fill of its pills.
QColor heroStart();
QColor heroEnd();
inline constexpr qreal heroPillOpacity = 0.16;

// The WCAG contrast ratio of two opaque colours (1 to 21).
double contrast(const QColor& a, const QColor& b);

// One pairing of a foreground the theme gives with a surface it is drawn on, both made opaque
// as they show, and the contrast it must reach (4.5 for text, 3 for large text and for marks).
struct Pairing {
    QString what;
    QColor foreground;
    QColor surface;
    double minimum = 4.5;
};
// Every pairing of the current scheme: each text colour on each surface it lands on.
std::vector<Pairing> pairings();

// The colour of usageTint(fraction): green below 0.6, yellow below 0.85, red from 0.85 on (and
// for NaN).
QColor usageColor(double fraction);

// The scheme the windows currently show. Set by the application when the appearance changes;
// the colours below follow it.
bool isDark();
void setDark(bool dark);

// Primary foreground (text) colour, optionally at an opacity.
QColor primary(qreal opacity = 1.0);
// Secondary (dimmed) foreground colour.
QColor secondary();
// The window background colour.
QColor windowBackground();
// The sidebar background colour.
QColor sidebarBackground();
// Fill of a card (the regular translucent material).
QColor cardFill();
// Fill of a chip (a neutral grey at low opacity).
QColor chipFill();
// The sidebar's selected row: the accent at this opacity.
qreal sidebarSelectionOpacity();
// The appearance picker's track and its raised choice.
QColor pickerTrack();
QColor pickerKnob();
// Hairline separators and dividers.
QColor separator();

// A translucent colour as it shows over `background`, made opaque.
QColor opaqueOver(const QColor& c, const QColor& background);

// The palette of a scheme, for the windows and the standard widgets in them.
QPalette palette(bool dark);

// The interface font at a size in points (device-independent pixels) and a weight.
QFont font(qreal size, QFont::Weight weight = QFont::Normal);
// The family used for interface text.
QString fontFamily();

// The single-colour gradient: the colour shaded slightly lighter at the top of `rect`.
QLinearGradient gradient(const QColor& tint, const QRectF& rect);

// A rounded rectangle with continuous (smoothed) corners.
QPainterPath continuousRect(const QRectF& rect, qreal radius);
// The part of such a rectangle in `box` that is surely inside it, clear of the corners (twice
// the radius: the smoothed curve starts further out) and `edge` pixels in from the straight
// sides. A repaint wholly inside it touches neither the outline nor anything outside.
QRegion continuousRectInterior(const QRect& box, qreal radius, int edge);
// A capsule: a rectangle whose short sides are fully rounded.
QPainterPath capsule(const QRectF& rect);

// When false, components jump to new values at once: while rendering screenshots
// (setAnimationsEnabled), or when the user asked for reduced motion (setReduceMotion).
bool animationsEnabled();
void setAnimationsEnabled(bool enabled);
bool reduceMotion();
void setReduceMotion(bool reduce);

}  // namespace orvane::Theme
