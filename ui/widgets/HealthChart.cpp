#include "ui/widgets/HealthChart.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "ui/paint/TabularDigits.h"
#include "ui/paint/Theme.h"
#include "ui/widgets/PageStyle.h"

namespace orvane {

using PageStyle::qs;

namespace {

constexpr qreal kLabelGap = 6;
constexpr qreal kMarkerRadius = 3;

QFont labelFont() {
    return Theme::font(10);
}

qreal widest(const std::vector<AxisMark>& marks) {
    qreal w = 0;
    for (const AxisMark& m : marks)
        w = std::max(w, TabularDigits::advance(labelFont(), qs(m.label)));
    return w;
}

}  // namespace

HealthChart::HealthChart(QWidget* parent) : QWidget(parent) {
    setFixedHeight(kHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void HealthChart::setView(const BatteryHistoryView& view) {
    if (view == view_) return;
    view_ = view;
    setAccessibleDescription(qs(view.summary + "\n" + view.projectionText));
    update();
}

QRectF HealthChart::plotRect() const {
    const qreal left = widest(view_.levels) + kLabelGap;
    const qreal right = widest(view_.capacities) + kLabelGap;
    const qreal bottom = QFontMetricsF(labelFont()).height() + kLabelGap;
    return QRectF(rect()).adjusted(left, 6, -right, -bottom);
}

void HealthChart::paintEvent(QPaintEvent*) {
    if (!view_.show) return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF plot = plotRect();
    const auto at = [&](const ChartPoint& c) {
        return QPointF(plot.left() + c.x * plot.width(), plot.bottom() - c.y * plot.height());
    };
    const qreal lineHeight = QFontMetricsF(labelFont()).height();
    p.setFont(labelFont());

    // Levels: a hairline each, health on the left and capacity on the right.
    for (std::size_t i = 0; i < view_.levels.size(); ++i) {
        const qreal y = plot.bottom() - view_.levels[i].at * plot.height();
        p.setPen(QPen(Theme::separator(), 1));
        p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        p.setPen(Theme::secondary());
        TabularDigits::draw(p, QRectF(0, y - lineHeight / 2, plot.left() - kLabelGap, lineHeight),
                            Qt::AlignRight | Qt::AlignVCenter, qs(view_.levels[i].label));
        if (i < view_.capacities.size())
            TabularDigits::draw(p,
                                QRectF(plot.right() + kLabelGap, y - lineHeight / 2,
                                       width() - plot.right() - kLabelGap, lineHeight),
                                Qt::AlignLeft | Qt::AlignVCenter, qs(view_.capacities[i].label));
    }
    // Years or months underneath, each centred on its tick and kept inside the plot's width.
    for (const AxisMark& m : view_.times) {
        const qreal x = plot.left() + m.at * plot.width();
        p.setPen(QPen(Theme::separator(), 1));
        p.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + 3));
        const QString label = qs(m.label);
        const qreal w = TabularDigits::advance(labelFont(), label);
        const qreal left = std::clamp(x - w / 2, plot.left(), plot.right() - w);
        p.setPen(Theme::secondary());
        TabularDigits::draw(p, QRectF(left, plot.bottom() + kLabelGap - 2, w, lineHeight),
                            Qt::AlignLeft | Qt::AlignVCenter, label);
    }

    p.save();
    p.setClipRect(plot.adjusted(-kMarkerRadius - 1, -kMarkerRadius - 1, kMarkerRadius + 1, 1));
    // The 80 % line.
    QPen threshold(Theme::color(Tint::red), 1, Qt::DashLine);
    threshold.setColor([] {
        QColor c = Theme::color(Tint::red);
        c.setAlphaF(0.6);
        return c;
    }());
    p.setPen(threshold);
    const qreal ty = plot.bottom() - view_.threshold * plot.height();
    p.drawLine(QPointF(plot.left(), ty), QPointF(plot.right(), ty));

    const QColor tint = Theme::color(view_.tint);
    QPainterPath line;
    for (const ChartPoint& c : view_.curve)
        line.elementCount() == 0 ? line.moveTo(at(c)) : line.lineTo(at(c));
    if (view_.curve.size() > 1) {
        QPainterPath area = line;
        area.lineTo(at(view_.curve.back()).x(), plot.bottom());
        area.lineTo(at(view_.curve.front()).x(), plot.bottom());
        area.closeSubpath();
        QColor fill = tint;
        fill.setAlphaF(0.12);
        p.fillPath(area, fill);
    }
    if (view_.projection && !view_.curve.empty()) {
        p.setPen(QPen(tint, 1.5, Qt::DashLine, Qt::RoundCap));
        p.drawLine(at(view_.curve.back()), at(*view_.projection));
    }
    p.setPen(QPen(tint, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(line);
    // The month markers: rings over the line, so they stand out of a noisy curve.
    p.setPen(QPen(tint, 1.5));
    p.setBrush(Theme::opaqueOver(Theme::cardFill(), Theme::windowBackground()));
    for (const ChartPoint& c : view_.months)
        p.drawEllipse(at(c), kMarkerRadius, kMarkerRadius);
    p.restore();
}

}  // namespace orvane
