#include "ui/paint/Theme.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <algorithm>
#include <cmath>
#include <optional>

namespace orvane::Theme {
namespace {

bool gDark = false;
bool gAnimations = true;
bool gReduceMotion = false;

QColor rgb(double r, double g, double b, double a = 1.0) {
    return QColor::fromRgbF(r, g, b, a);
}

QColor withAlpha(QColor c, qreal alpha) {
    c.setAlphaF(alpha);
    return c;
}

}  // namespace

QColor accent() {
    static const QColor c = rgb(0.39, 0.45, 0.96);
    return c;
}

QColor color(Tint tint) {
    switch (tint) {
        case Tint::primary:
            return primary();
        case Tint::secondary:
            return secondary();
        case Tint::accent:
            return accent();
        case Tint::green:
            return rgb(0.2, 0.78, 0.45);
        case Tint::yellow:
            return rgb(0.98, 0.74, 0.18);
        case Tint::red:
            return rgb(0.95, 0.3, 0.3);
        case Tint::blue:
            return rgb(0.31, 0.55, 0.98);
        case Tint::orange:
            return rgb(0.96, 0.54, 0.12);
        case Tint::white:
            return Qt::white;
    }
    return secondary();
}

namespace {

// Shades of the tints in the four uses: text and marks, light and dark. Text shades reach
// 4.5:1 and mark shades 3:1 on the window, card and chip surfaces (pairings() lists them); in
// dark mode green and yellow read as they are.
struct Shades {
    QRgb lightText, darkText, lightMark, darkMark;
};

std::optional<Shades> shadesOf(Tint tint) {
    switch (tint) {
        case Tint::accent:
            return Shades{0x3448f2, 0x9fa9f9, 0x5a6af4, 0x7784f6};
        case Tint::green:
            return Shades{0x1c6e3f, 0x33c773, 0x238a50, 0x33c773};
        case Tint::yellow:
            return Shades{0x7c5803, 0xfabd2e, 0x9f7104, 0xfabd2e};
        case Tint::red:
            return Shades{0xc10e0e, 0xf78f8f, 0xe52424, 0xf35b5b};
        case Tint::blue:
            return Shades{0x0654df, 0x83aefb, 0x2772f9, 0x4f8cfa};
        case Tint::orange:
            return Shades{0x934d07, 0xf69535, 0xba6108, 0xf58a1f};
        case Tint::primary:
        case Tint::secondary:
        case Tint::white:
            break;
    }
    return std::nullopt;
}

double luminance(const QColor& c) {
    const auto channel = [](double v) {
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

}  // namespace

QColor textColor(Tint tint) {
    const auto s = shadesOf(tint);
    return s ? QColor::fromRgb(gDark ? s->darkText : s->lightText) : color(tint);
}

QColor markColor(Tint tint) {
    const auto s = shadesOf(tint);
    return s ? QColor::fromRgb(gDark ? s->darkMark : s->lightMark) : color(tint);
}

QColor badgeFill(Tint tint, qreal opacity) {
    QColor fill = color(tint);
    fill.setAlphaF(fill.alphaF() * opacity);
    return fill;
}

QColor heroStart() {
    return rgb(0.26, 0.3, 0.8);
}
QColor heroEnd() {
    return rgb(0.42, 0.25, 0.8);
}

double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::vector<Pairing> pairings() {
    std::vector<Pairing> out;
    const auto add = [&](const QString& what, const QColor& fg, const QColor& surface,
                         double minimum) {
        out.push_back({what, opaqueOver(fg, surface), surface, minimum});
    };
    QColor wash = accent();
    wash.setAlphaF(0.06);
    const QColor window = windowBackground(), windowTop = opaqueOver(wash, window);
    const std::pair<const char*, QColor> surfaces[] = {
        {"window", window},
        {"window top", windowTop},
        {"card", opaqueOver(cardFill(), window)},
        {"card at the top", opaqueOver(cardFill(), windowTop)},
        {"chip", opaqueOver(chipFill(), windowTop)},
        {"chip in a card", opaqueOver(chipFill(), opaqueOver(cardFill(), windowTop))},
    };
    const std::pair<const char*, Tint> tints[] = {
        {"primary", Tint::primary}, {"secondary", Tint::secondary}, {"accent", Tint::accent},
        {"green", Tint::green},     {"yellow", Tint::yellow},       {"red", Tint::red},
        {"blue", Tint::blue},       {"orange", Tint::orange},
    };
    for (const auto& [on, surface] : surfaces) {
        add(QStringLiteral("focus ring on %1").arg(on), markColor(Tint::accent), surface, 3);
        for (const auto& [name, tint] : tints) {
            add(QStringLiteral("%1 text on %2").arg(name, on), textColor(tint), surface, 4.5);
            if (shadesOf(tint))
                add(QStringLiteral("%1 mark on %2").arg(name, on), markColor(tint), surface, 3);
        }
    }
    // Badges: a word in the tint's text shade on a wash of the tint, on a card.
    const QColor card = opaqueOver(cardFill(), windowTop);
    for (const auto& [name, tint] : tints) {
        if (tint == Tint::primary) continue;
        add(QStringLiteral("%1 badge").arg(name), textColor(tint),
            opaqueOver(badgeFill(tint, 0.15), card), 4.5);
    }
    // The sidebar, its selected row, its buttons and the appearance picker.
    const QColor sidebar = sidebarBackground();
    add(QStringLiteral("sidebar text"), primary(), sidebar, 4.5);
    add(QStringLiteral("sidebar caption"), secondary(), sidebar, 4.5);
    add(QStringLiteral("sidebar button"), textColor(Tint::accent), sidebar, 4.5);
    add(QStringLiteral("focus ring on the sidebar"), markColor(Tint::accent), sidebar, 3);
    QColor selected = accent();
    selected.setAlphaF(sidebarSelectionOpacity());
    add(QStringLiteral("selected sidebar row"), primary(), opaqueOver(selected, sidebar), 4.5);
    const QColor track = opaqueOver(pickerTrack(), sidebar);
    add(QStringLiteral("picker option"), secondary(), track, 4.5);
    add(QStringLiteral("picker choice"), primary(), pickerKnob(), 4.5);
    // White on the banner and on its pills; the "Copied!" badge.
    for (const QColor& hero : {heroStart(), heroEnd()}) {
        add(QStringLiteral("banner text"), rgb(1, 1, 1, 0.9), hero, 4.5);
        add(QStringLiteral("banner pill"), Qt::white,
            opaqueOver(badgeFill(Tint::white, heroPillOpacity), hero), 4.5);
    }
    add(QStringLiteral("copied badge"), Qt::white, opaqueOver(rgb(0, 0, 0, 0.82), card), 4.5);
    return out;
}

QColor usageColor(double fraction) {
    return color(usageTint(fraction));
}

bool isDark() {
    return gDark;
}
void setDark(bool dark) {
    gDark = dark;
}

QColor primary(qreal opacity) {
    const QColor base = gDark ? rgb(1, 1, 1, 0.9) : rgb(0, 0, 0, 0.86);
    return withAlpha(base, base.alphaF() * opacity);
}

QColor secondary() {
    return gDark ? rgb(1, 1, 1, 0.6) : rgb(0, 0, 0, 0.6);
}

qreal sidebarSelectionOpacity() {
    return gDark ? 0.32 : 0.17;
}

QColor pickerTrack() {
    return primary(gDark ? 0.1 : 0.07);
}

QColor pickerKnob() {
    return gDark ? QColor(0x63, 0x63, 0x69) : QColor(Qt::white);
}

QColor windowBackground() {
    return gDark ? QColor(0x1e, 0x1e, 0x21) : QColor(0xf3, 0xf3, 0xf6);
}

QColor sidebarBackground() {
    return gDark ? QColor(0x27, 0x27, 0x2b) : QColor(0xe8, 0xe8, 0xed);
}

QColor cardFill() {
    return gDark ? rgb(0.19, 0.19, 0.21, 0.82) : rgb(1, 1, 1, 0.78);
}

QColor chipFill() {
    return gDark ? rgb(1, 1, 1, 0.07) : rgb(0, 0, 0, 0.045);
}

QColor separator() {
    return gDark ? rgb(1, 1, 1, 0.1) : rgb(0, 0, 0, 0.1);
}

QColor opaqueOver(const QColor& c, const QColor& background) {
    const qreal a = c.alphaF();
    return QColor::fromRgbF(c.redF() * a + background.redF() * (1 - a),
                            c.greenF() * a + background.greenF() * (1 - a),
                            c.blueF() * a + background.blueF() * (1 - a));
}

QPalette palette(bool dark) {
    const bool saved = gDark;
    gDark = dark;
    const QColor window = windowBackground();
    const QColor text = primary().toRgb();
    // Solid versions of the translucent text colours, for widgets that cannot blend.
    const auto solid = [&](const QColor& c) { return opaqueOver(c, window); };
    const QColor solidText = solid(text);
    const QColor solidSecondary = solid(secondary());
    const QColor base = dark ? QColor(0x2a, 0x2a, 0x2e) : QColor(0xff, 0xff, 0xff);
    const QColor button = dark ? QColor(0x3a, 0x3a, 0x3f) : QColor(0xfb, 0xfb, 0xfd);

    QPalette p;
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool disabled = group == QPalette::Disabled;
        p.setColor(group, QPalette::Window, window);
        p.setColor(group, QPalette::WindowText, disabled ? solidSecondary : solidText);
        p.setColor(group, QPalette::Base, base);
        p.setColor(group, QPalette::AlternateBase,
                   dark ? QColor(0x30, 0x30, 0x34) : QColor(0xf5, 0xf5, 0xf8));
        p.setColor(group, QPalette::Text, disabled ? solidSecondary : solidText);
        p.setColor(group, QPalette::PlaceholderText, solidSecondary);
        p.setColor(group, QPalette::Button, button);
        p.setColor(group, QPalette::ButtonText, disabled ? solidSecondary : solidText);
        p.setColor(group, QPalette::BrightText, Qt::white);
        p.setColor(group, QPalette::Highlight, accent());
        p.setColor(group, QPalette::HighlightedText, Qt::white);
        p.setColor(group, QPalette::Link, accent());
        p.setColor(group, QPalette::LinkVisited, accent().darker(120));
        p.setColor(group, QPalette::ToolTipBase,
                   dark ? QColor(0x3a, 0x3a, 0x3f) : QColor(0xff, 0xff, 0xff));
        p.setColor(group, QPalette::ToolTipText, solidText);
        p.setColor(group, QPalette::Light,
                   dark ? QColor(0x4a, 0x4a, 0x50) : QColor(0xff, 0xff, 0xff));
        p.setColor(group, QPalette::Midlight,
                   dark ? QColor(0x3a, 0x3a, 0x40) : QColor(0xe4, 0xe4, 0xea));
        p.setColor(group, QPalette::Mid,
                   dark ? QColor(0x30, 0x30, 0x35) : QColor(0xc8, 0xc8, 0xd0));
        p.setColor(group, QPalette::Dark,
                   dark ? QColor(0x18, 0x18, 0x1b) : QColor(0xa0, 0xa0, 0xa8));
        p.setColor(group, QPalette::Shadow, QColor(0, 0, 0));
    }
    gDark = saved;
    return p;
}

QString fontFamily() {
    static const QString family = [] {
        const QStringList families = QFontDatabase::families();
        for (const char* preferred : {"Inter", "Cantarell"}) {
            if (families.contains(QLatin1String(preferred))) return QString::fromLatin1(preferred);
        }
        return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    }();
    return family;
}

QFont font(qreal size, QFont::Weight weight) {
    QFont f(fontFamily());
    // Sizes are device-independent pixels, as points are on the Mac.
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(size))));
    f.setWeight(weight);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

QLinearGradient gradient(const QColor& tint, const QRectF& rect) {
    QLinearGradient g(rect.topLeft(), rect.bottomLeft());
    g.setColorAt(0, tint.lighter(118));
    g.setColorAt(1, tint);
    return g;
}

QRegion continuousRectInterior(const QRect& box, qreal radius, int edge) {
    const int corner = static_cast<int>(std::ceil(2 * radius));
    return QRegion(box.adjusted(corner, edge, -corner, -edge)) +
           QRegion(box.adjusted(edge, corner, -edge, -corner));
}

QPainterPath continuousRect(const QRectF& rect, qreal radius) {
    QPainterPath path;
    const qreal maxExtent = std::min(rect.width(), rect.height()) / 2;
    if (maxExtent <= 0) return path;
    // One cubic per corner, starting further from the corner than a circular arc would and
    // pulling its control points closer: the curvature eases in instead of jumping.
    const qreal e = std::min(radius * 1.25, maxExtent);
    const qreal c = e * 0.29;
    const qreal l = rect.left(), t = rect.top(), r = rect.right(), b = rect.bottom();
    path.moveTo(l + e, t);
    path.lineTo(r - e, t);
    path.cubicTo(r - c, t, r, t + c, r, t + e);
    path.lineTo(r, b - e);
    path.cubicTo(r, b - c, r - c, b, r - e, b);
    path.lineTo(l + e, b);
    path.cubicTo(l + c, b, l, b - c, l, b - e);
    path.lineTo(l, t + e);
    path.cubicTo(l, t + c, l + c, t, l + e, t);
    path.closeSubpath();
    return path;
}

QPainterPath capsule(const QRectF& rect) {
    QPainterPath path;
    const qreal r = std::min(rect.width(), rect.height()) / 2;
    path.addRoundedRect(rect, r, r);
    return path;
}

bool animationsEnabled() {
    return gAnimations && !gReduceMotion;
}
void setAnimationsEnabled(bool enabled) {
    gAnimations = enabled;
}
bool reduceMotion() {
    return gReduceMotion;
}
void setReduceMotion(bool reduce) {
    gReduceMotion = reduce;
}

}  // namespace orvane::Theme

namespace orvane::Theme {
QColor styleColor(TextStyle style) {
    return style == TextStyle::primary ? primary() : secondary();
}
}  // namespace orvane::Theme
