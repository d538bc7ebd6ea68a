#include "ui/paint/Theme.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <algorithm>
#include <cmath>

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
        case Tint::white:
            return Qt::white;
    }
    return secondary();
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
    return gDark ? rgb(1, 1, 1, 0.55) : rgb(0, 0, 0, 0.5);
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
