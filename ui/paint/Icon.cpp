#include "ui/paint/Icon.h"

#include <QFile>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QtGlobal>
#include <cmath>

namespace orvane::Icon {
namespace {

enum class Fill { none, all, last };

struct Entry {
    const char* file = nullptr;  // under :/icons, without ".svg"; null for Symbol::none
    Fill fill = Fill::none;
    int rotation = 0;  // degrees, clockwise
};

// Symbol -> icon of the bundled set. A switch, so the compiler names any symbol left out.
Entry entry(Symbol symbol) {
    switch (symbol) {
        case Symbol::none:
            return {};
        // Machines
        case Symbol::laptop:
            return {"laptop"};
        case Symbol::desktop:
            return {"monitor"};
        case Symbol::macMini:
            return {"computer"};
        case Symbol::macStudio:
            return {"server"};
        case Symbol::macPro:
            return {"pc-case"};
        case Symbol::display:
            return {"monitor"};
        case Symbol::appleLogo:
            return {"apple"};
        // Components
        case Symbol::cpu:
            return {"cpu"};
        case Symbol::cpuFill:
            return {"cpu"};
        case Symbol::memoryChip:
            return {"memory-stick"};
        case Symbol::internalDrive:
            return {"hard-drive"};
        case Symbol::internalDriveFill:
            return {"hard-drive"};
        case Symbol::externalDrive:
            return {"usb"};
        case Symbol::externalDriveFill:
            return {"usb"};
        case Symbol::cableConnector:
            return {"cable"};
        case Symbol::stack:
            return {"layers"};
        case Symbol::rectangleDashed:
            return {"square-dashed"};
        // Power
        case Symbol::battery100:
            return {"battery-full"};
        case Symbol::battery100Bolt:
            return {"battery-charging"};
        case Symbol::battery75:
            return {"battery-medium"};
        case Symbol::battery50:
            return {"battery-medium"};
        case Symbol::boltFill:
            return {"zap", Fill::all};
        case Symbol::boltHorizontal:
            return {"zap", Fill::none, 90};
        case Symbol::boltCircle:
            return {"battery-medium"};
        case Symbol::boltBadgeCheckmark:
            return {"badge-check"};
        case Symbol::powerPlug:
            return {"plug"};
        case Symbol::powerPlugFill:
            return {"plug", Fill::all};
        case Symbol::thermometer:
            return {"thermometer"};
        case Symbol::thermometerMedium:
            return {"thermometer"};
        // Activity
        case Symbol::speedometer:
            return {"gauge"};
        case Symbol::gauge:
            return {"circle-gauge"};
        case Symbol::waveformEcg:
            return {"activity"};
        case Symbol::waveform:
            return {"audio-waveform"};
        case Symbol::arrowLeftRight:
            return {"arrow-left-right"};
        case Symbol::arrowCirclePath:
            return {"refresh-cw"};
        case Symbol::clock:
            return {"clock"};
        case Symbol::timer:
            return {"timer"};
        // Identity
        case Symbol::person:
            return {"circle-user-round"};
        case Symbol::number:
            return {"hash"};
        case Symbol::barcode:
            return {"barcode"};
        case Symbol::building:
            return {"building-2"};
        // Shell
        case Symbol::sparkleMagnifyingGlass:
            return {"search-sparkles"};
        case Symbol::arrowClockwise:
            return {"rotate-cw"};
        case Symbol::share:
            return {"share"};
        case Symbol::circleHalfFilled:
            return {"contrast", Fill::last, 180};
        case Symbol::sunFill:
            return {"sun", Fill::all};
        case Symbol::moonFill:
            return {"moon", Fill::all};
    }
    return {};
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

QString resourcePath(Symbol symbol) {
    const Entry e = entry(symbol);
    return e.file ? QStringLiteral(":/icons/%1.svg").arg(QLatin1String(e.file)) : QString();
}

qreal boxSize(qreal pointSize) {
    return std::round(pointSize * 1.25);
}

QPixmap pixmap(Symbol symbol, qreal side, const QColor& color, qreal dpr, QFont::Weight weight) {
    const int px = std::max(1, static_cast<int>(std::lround(side * dpr)));
    const QString key = QStringLiteral("%1|%2|%3|%4")
                            .arg(static_cast<int>(symbol))
                            .arg(px)
                            .arg(color.rgba(), 8, 16, QLatin1Char('0'))
                            .arg(static_cast<int>(weight));
    auto& c = cache();
    if (auto it = c.constFind(key); it != c.constEnd()) return *it;

    QImage image(px, px, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (const Entry e = entry(symbol); e.file) {
        QColor opaque = color;
        opaque.setAlpha(255);
        QSvgRenderer renderer(svgFor(e, opaque, weight));
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        if (color.alpha() < 255) p.setOpacity(color.alphaF());
        if (e.rotation != 0) {
            p.translate(px / 2.0, px / 2.0);
            p.rotate(e.rotation);
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
    }
    QPixmap pm = QPixmap::fromImage(std::move(image));
    pm.setDevicePixelRatio(dpr);
    if (c.size() > 600) c.clear();
    c.insert(key, pm);
    return pm;
}

void paint(QPainter& painter, const QRectF& rect, Symbol symbol, const QColor& color,
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
