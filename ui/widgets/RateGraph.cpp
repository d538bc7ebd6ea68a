#include "ui/widgets/RateGraph.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "service/Fmt.h"
#include "ui/paint/Theme.h"
#include "ui/widgets/HistoryGraph.h"
#include "ui/widgets/PageStyle.h"

namespace orvane {

using PageStyle::qs;

namespace {

// Samples further apart than this leave a gap between them.
constexpr double kGapSeconds = 2.5;

}  // namespace

RateGraph::RateGraph(SensorsModel::Traffic traffic, QWidget* parent)
    : QWidget(parent), traffic_(traffic) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAccessibleName(traffic == SensorsModel::Traffic::disk ? tr("Disk activity history")
                                                             : tr("Network activity history"));
}

QSize RateGraph::sizeHint() const {
    return {320, HistoryGraph::kPlotHeight + HistoryGraph::kAxisGap +
                     QFontMetrics(HistoryGraph::axisFont()).height()};
}

QSize RateGraph::minimumSizeHint() const {
    return {120, sizeHint().height()};
}

void RateGraph::setPoints(const std::deque<ThroughputPoint>& points) {
    points_ = points;
    scale_ = SensorsModel::scale(traffic_, points_);
    update();
}

void RateGraph::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const double w = width(), h = HistoryGraph::kPlotHeight;
    const double inset = std::ceil(HistoryGraph::kLineWidth / 2) + 1;
    const auto y = [&](double v) {
        const double f = std::clamp(v / scale_, 0.0, 1.0);
        return inset + (1 - (std::isnan(f) ? 0 : f)) * (h - 2 * inset);
    };
    for (double f : {0.0, 0.25, 0.5, 0.75})
        p.fillRect(QRectF(0, std::round(y(f * scale_)), w, 1), Theme::separator());

    p.setRenderHint(QPainter::Antialiasing);
    if (!points_.empty()) {
        const double newest = points_.back().time;
        const auto x = [&](double t) { return w - (newest - t) / ThroughputHistory::kSpan * w; };
        using Series = std::optional<double> (*)(SensorsModel::Traffic, const ThroughputPoint&);
        // Each unbroken run of known values, as a polyline.
        const auto runs = [&](Series series) {
            std::vector<QPolygonF> out(1);
            const ThroughputPoint* last = nullptr;
            for (const ThroughputPoint& pt : points_) {
                const std::optional<double> v = series(traffic_, pt);
                if (!v || (last && pt.time - last->time > kGapSeconds)) {
                    if (out.back().size() > 0) out.emplace_back();
                    if (!v) {
                        last = nullptr;
                        continue;
                    }
                }
                out.back() << QPointF(x(pt.time), y(*v));
                last = &pt;
            }
            return out;
        };
        QColor fill = Theme::color(Tint::blue);
        fill.setAlphaF(0.6f);
        fill = Theme::opaqueOver(fill, Theme::windowBackground());
        p.setPen(Qt::NoPen);
        p.setBrush(fill);
        for (QPolygonF run : runs(&SensorsModel::first)) {
            if (run.size() < 2) continue;
            const double base = y(0);
            run.prepend(QPointF(run.front().x(), base));
            run << QPointF(run.back().x(), base);
            p.drawPolygon(run);
        }
        p.setPen(QPen(Theme::color(Tint::green), HistoryGraph::kLineWidth, Qt::SolidLine,
                      Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        for (const QPolygonF& run : runs(&SensorsModel::second))
            if (run.size() > 1) p.drawPolyline(run);
    }

    p.setFont(HistoryGraph::axisFont());
    p.setPen(Theme::secondary());
    // The scale's top, in the corner above the top grid line's space.
    p.drawText(QRectF(4, 2, w - 8, h), Qt::AlignLeft | Qt::AlignTop, qs(Fmt::rate(scale_)));
    const QRect axis(0, HistoryGraph::kPlotHeight + HistoryGraph::kAxisGap, width(),
                     height() - HistoryGraph::kPlotHeight - HistoryGraph::kAxisGap);
    HistoryGraph::drawTimeAxis(p, axis);
}

}  // namespace orvane
