#include "ui/components/Icon.h"

#include <QFile>
#include <QHash>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QSet>
#include <QSvgRenderer>
#include <QtGlobal>
#include <cmath>

namespace orvane::Icon {
namespace {

enum class Fill { none, all, last };

struct Entry {
    const char* symbol;
    const char* file;  // under :/icons, without ".svg"
    Fill fill = Fill::none;
    int rotation = 0;  // degrees, clockwise
};

// System symbol name -> icon of the bundled set. Every name the pages and the shell use
// must be here; a test checks the sources against this table.
const Entry kTable[] = {
    // Machines
    {"laptopcomputer", "laptop"},
    {"macbook", "laptop"},
    {"desktopcomputer", "monitor"},
    {"macmini", "computer"},
    {"macstudio", "server"},
    {"macpro.gen3", "pc-case"},
    {"display", "monitor"},
    {"apple.logo", "apple"},
    // Components
    {"cpu", "cpu"},
    {"cpu.fill", "cpu"},
    {"memorychip", "memory-stick"},
    {"internaldrive", "hard-drive"},
    {"internaldrive.fill", "hard-drive"},
    {"externaldrive", "usb"},
    {"externaldrive.fill", "usb"},
    {"cable.connector", "cable"},
    {"square.stack.3d.up", "layers"},
    {"rectangle.dashed", "square-dashed"},
    // Power
    {"battery.100", "battery-full"},
    {"battery.100.bolt", "battery-charging"},
    {"battery.75", "battery-medium"},
    {"battery.50", "battery-medium"},
    {"bolt.fill", "zap", Fill::all},
    {"bolt.horizontal", "zap", Fill::none, 90},
    {"bolt.circle", "battery-medium"},
    {"bolt.badge.checkmark", "badge-check"},
    {"powerplug", "plug"},
    {"powerplug.fill", "plug", Fill::all},
    {"thermometer", "thermometer"},
    {"thermometer.medium", "thermometer"},
    // Activity
    {"speedometer", "gauge"},
    {"gauge.with.dots.needle.50percent", "circle-gauge"},
    {"waveform.path.ecg", "activity"},
    {"waveform.path", "audio-waveform"},
    {"arrow.left.arrow.right", "arrow-left-right"},
    {"arrow.triangle.2.circlepath", "refresh-cw"},
    {"clock", "clock"},
    {"timer", "timer"},
    // Identity
    {"person.crop.circle", "circle-user-round"},
    {"number", "hash"},
    {"barcode", "barcode"},
    {"building.2", "building-2"},
    // Shell
    {"sparkle.magnifyingglass", "search-sparkles"},
    {"arrow.clockwise", "rotate-cw"},
    {"square.and.arrow.up", "share"},
    {"circle.lefthalf.filled", "contrast", Fill::last, 180},
    {"sun.max.fill", "sun", Fill::all},
    {"moon.fill", "moon", Fill::all},
};

const Entry* find(const QString& symbol) {
    for (const Entry& e : kTable) {
        if (symbol == QLatin1String(e.symbol)) return &e;
    }
    return nullptr;
}

qreal strokeWidth(QFont::Weight weight) {
    // On the set's 24-unit grid; its own default is 2.
    if (weight <= QFont::Thin) return 1.15;
    if (weight <= QFont::ExtraLight) return 1.35;
    if (weight <= QFont::Light) return 1.6;
    if (weight <= QFont::Normal) return 1.9;
    if (weight <= QFont::Medium) return 2.05;
    if (weight <= QFont::DemiBold) return 2.25;
    if (weight <= QFont::Bold) return 2.45;
    return 2.65;
}

QByteArray svgFor(const Entry& e, const QColor& opaque, QFont::Weight weight) {
    static QHash<QString, QByteArray> sources;
    const QString path = QStringLiteral(":/icons/%1.svg").arg(QLatin1String(e.file));
    auto it = sources.find(path);
    if (it == sources.end()) {
        QFile f(path);
        it = sources.insert(path, f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray());
    }
    QByteArray svg = *it;
    const QByteArray hex = opaque.name(QColor::HexRgb).toLatin1();
    svg.replace("currentColor", hex);
    svg.replace("stroke-width=\"2\"",
                "stroke-width=\"" + QByteArray::number(strokeWidth(weight)) + "\"");
    if (e.fill == Fill::all) {
        svg.replace("fill=\"none\"", "fill=\"" + hex + "\"");
    } else if (e.fill == Fill::last) {
        const int end = svg.lastIndexOf("/>");
        if (end > 0) svg.insert(end, " fill=\"" + hex + "\" ");
    }
    return svg;
}

QHash<QString, QPixmap>& cache() {
    static QHash<QString, QPixmap> c;
    return c;
}

}  // namespace

QStringList knownSymbols() {
    QStringList names;
    for (const Entry& e : kTable)
        names << QString::fromLatin1(e.symbol);
    return names;
}

bool has(const QString& symbol) {
    return find(symbol) != nullptr;
}

QString resourcePath(const QString& symbol) {
    const Entry* e = find(symbol);
    return e ? QStringLiteral(":/icons/%1.svg").arg(QLatin1String(e->file)) : QString();
}

qreal boxSize(qreal pointSize) {
    return std::round(pointSize * 1.25);
}

QPixmap pixmap(const QString& symbol, qreal side, const QColor& color, qreal dpr,
               QFont::Weight weight) {
    const int px = std::max(1, static_cast<int>(std::lround(side * dpr)));
    const QString key = QStringLiteral("%1|%2|%3|%4")
                            .arg(symbol)
                            .arg(px)
                            .arg(color.rgba(), 8, 16, QLatin1Char('0'))
                            .arg(static_cast<int>(weight));
    auto& c = cache();
    if (auto it = c.constFind(key); it != c.constEnd()) return *it;

    QImage image(px, px, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (const Entry* e = find(symbol)) {
        QColor opaque = color;
        opaque.setAlpha(255);
        QSvgRenderer renderer(svgFor(*e, opaque, weight));
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        if (color.alpha() < 255) p.setOpacity(color.alphaF());
        if (e->rotation != 0) {
            p.translate(px / 2.0, px / 2.0);
            p.rotate(e->rotation);
            p.translate(-px / 2.0, -px / 2.0);
        }
        if (color.alpha() < 255) {
            // Render opaque first so overlapping strokes do not add up, then fade as a whole.
            QImage solid(px, px, QImage::Format_ARGB32_Premultiplied);
            solid.fill(Qt::transparent);
            QPainter sp(&solid);
            sp.setRenderHint(QPainter::Antialiasing);
            renderer.render(&sp, QRectF(0, 0, px, px));
            sp.end();
            p.drawImage(0, 0, solid);
        } else {
            renderer.render(&p, QRectF(0, 0, px, px));
        }
    } else {
        static QSet<QString> warned;
        if (!warned.contains(symbol)) {
            warned.insert(symbol);
            qWarning("orvane: no icon for symbol \"%s\"", qPrintable(symbol));
        }
    }
    QPixmap pm = QPixmap::fromImage(std::move(image));
    pm.setDevicePixelRatio(dpr);
    if (c.size() > 600) c.clear();
    c.insert(key, pm);
    return pm;
}

void paint(QPainter& painter, const QRectF& rect, const QString& symbol, const QColor& color,
           QFont::Weight weight) {
    const qreal side = std::min(rect.width(), rect.height());
    if (side <= 0) return;
    const qreal dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QPixmap pm = pixmap(symbol, side, color, dpr, weight);
    const QPointF topLeft(rect.center().x() - side / 2, rect.center().y() - side / 2);
    painter.drawPixmap(topLeft, pm);
}

int cacheSize() {
    return cache().size();
}

}  // namespace orvane::Icon

namespace orvane {

IconView::IconView(const QString& symbol, qreal pointSize, QFont::Weight weight, QWidget* parent)
    : QWidget(parent), symbol_(symbol), pointSize_(pointSize), weight_(weight) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void IconView::setSymbol(const QString& symbol) {
    if (symbol == symbol_) return;
    symbol_ = symbol;
    update();
}

void IconView::setPointSize(qreal pointSize) {
    if (qFuzzyCompare(pointSize, pointSize_)) return;
    pointSize_ = pointSize;
    updateGeometry();
    update();
}

void IconView::setWeight(QFont::Weight weight) {
    if (weight == weight_) return;
    weight_ = weight;
    update();
}

void IconView::setColor(const QColor& color) {
    if (color_ && *color_ == color) return;
    color_ = color;
    update();
}

void IconView::setStyle(TextStyle style) {
    if (!color_ && style == style_) return;
    color_.reset();
    style_ = style;
    update();
}

QColor IconView::color() const {
    return color_ ? *color_ : Theme::styleColor(style_);
}

void IconView::setFrameWidth(int width) {
    if (width == frameWidth_) return;
    frameWidth_ = width;
    updateGeometry();
}

QSize IconView::sizeHint() const {
    const int box = static_cast<int>(Icon::boxSize(pointSize_));
    return {frameWidth_ > 0 ? frameWidth_ : box, box};
}

void IconView::paintEvent(QPaintEvent*) {
    if (symbol_.isEmpty()) return;
    QPainter p(this);
    const qreal box = Icon::boxSize(pointSize_);
    const QRectF r(QPointF(width() / 2.0 - box / 2, height() / 2.0 - box / 2), QSizeF(box, box));
    Icon::paint(p, r, symbol_, color(), weight_);
}

}  // namespace orvane
