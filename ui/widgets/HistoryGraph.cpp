#include "ui/widgets/HistoryGraph.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPolygonF>
#include <QToolTip>
#include <algorithm>
#include <cmath>
#include <iterator>

#include "ui/model/HistoryModel.h"
#include "ui/model/PageText.h"
#include "ui/paint/Theme.h"
#include "ui/widgets/PageStyle.h"

namespace orvane {

using PageStyle::qs;

namespace {

constexpr auto kSteps = static_cast<double>(LiveHistory::kCapacity - 1);

// A theme colour laid over the window background at `alpha`, made opaque: the stacked areas
// meet without a seam and do not mix where they overlap.
QColor solid(QColor c, float alpha) {
    c.setAlphaF(alpha);
    return Theme::opaqueOver(c, Theme::windowBackground());
}

}  // namespace

QFont HistoryGraph::axisFont() {
    return Theme::font(10);
}

void HistoryGraph::drawTimeAxis(QPainter& painter, const QRect& axis) {
    const Qt::Alignment aligns[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    // Under the time axis, left to right.
    const QString labels[] = {tr("2 min"), tr("1 min"), tr("now")};
    for (std::size_t i = 0; i < std::size(labels); ++i)
        painter.drawText(axis, static_cast<int>(aligns[i] | Qt::AlignTop), labels[i]);
}

HistoryGraph::HistoryGraph(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setMouseTracking(true);
    // The graph's accessible name; its description is HistoryModel::summary().
    setAccessibleName(tr("Processor and memory history"));
    updateSummary();
}

LegendSwatch::LegendSwatch(bool line, QWidget* parent) : QWidget(parent), line_(line) {
    setFixedSize(kSize, kSize);
}

void LegendSwatch::setTint(Tint tint) {
    if (tint == tint_) return;
    tint_ = tint;
    update();
}

void LegendSwatch::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor c = Theme::markColor(tint_);
    if (line_) {
        p.setPen(QPen(c, HistoryGraph::kLineWidth, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(1.5, kSize / 2.0), QPointF(kSize - 1.5, kSize / 2.0));
    } else {
        p.fillPath(Theme::continuousRect(QRectF(rect()), 2.5), c);
    }
}

QSize HistoryGraph::sizeHint() const {
    return {480, plotHeight_ + kAxisGap + QFontMetrics(axisFont()).height()};
}

void HistoryGraph::setPlotHeight(int height) {
    height = std::max(height, int(kPlotHeight));
    if (height == plotHeight_) return;
    plotHeight_ = height;
    layer_ = {};
    updateGeometry();
    update();
}

int HistoryGraph::scaleWidth() const {
    if (scaleWidth_ < 0)
        scaleWidth_ = QFontMetrics(axisFont()).horizontalAdvance(qs(PageText::percent(100))) + 6;
    return scaleWidth_;
}

void HistoryGraph::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::LanguageChange ||
        event->type() == QEvent::LocaleChange) {
        scaleWidth_ = -1;
        layer_ = {};
        update();
    }
    QWidget::changeEvent(event);
}

QSize HistoryGraph::minimumSizeHint() const {
    return {160, sizeHint().height()};
}

QRect HistoryGraph::plotRect() const {
    return {0, 0, std::max(1, width() - scaleWidth()), plotHeight_};
}

int HistoryGraph::plotPixelsWide() const {
    return std::max(1, static_cast<int>(std::lround(plotRect().width() * devicePixelRatioF())));
}

// Slots sit on whole device pixels counted from slot 0, so moving by a step shifts every drawn
// slot by the same whole number of pixels: a scroll of the image lands exactly where a fresh
// drawing would. The newest slot is on the right edge.
double HistoryGraph::slotX(std::uint64_t slot) const {
    const double s = plotPixelsWide() / kSteps;
    const std::uint64_t newest = history_.end() - 1;
    return plotPixelsWide() - static_cast<double>(std::llround(static_cast<double>(newest) * s) -
                                                  std::llround(static_cast<double>(slot) * s));
}

bool HistoryGraph::layerCurrent() const {
    const qreal dpr = devicePixelRatioF();
    return !layer_.isNull() &&
           layer_.size() ==
               QSize(plotPixelsWide(), static_cast<int>(std::lround(plotHeight_ * dpr))) &&
           layerDark_ == Theme::isDark();
}

void HistoryGraph::setHistory(const LiveHistory& history) {
    const std::uint64_t b = history.begin(), e = history.end();
    const std::uint64_t expectBegin = e > LiveHistory::kCapacity
                                          ? std::max(drawnBegin_, e - LiveHistory::kCapacity)
                                          : drawnBegin_;
    // Only a history that moved on from what is drawn (nothing dropped but off the left edge)
    // can be scrolled; anything else is drawn afresh at the next paint.
    const bool scrolls = layerCurrent() && drawnEnd_ > 0 && e >= drawnEnd_ &&
                         e - drawnEnd_ < LiveHistory::kCapacity && b == expectBegin &&
                         !history.empty();
    const std::uint64_t oldNewest = drawnEnd_ - 1;
    const double before = scrolls ? slotX(oldNewest) : 0;
    history_ = history;
    if (scrolls) {
        // The old newest slot moved left by the shift; everything from the column before it
        // (the newest slot may have been replaced, and its line reaches back) is painted again.
        const int shift = static_cast<int>(std::lround(before - slotX(oldNewest)));
        if (shift > 0) layer_.scroll(-shift, 0, layer_.rect());
        const std::uint64_t from = oldNewest > b ? oldNewest - 1 : b;
        const double pad = kLineWidth * devicePixelRatioF() + 1;
        paintLayer(std::max(0, static_cast<int>(std::floor(slotX(from) - pad))), layer_.width());
        // What scrolled in at the left edge belongs to seconds no longer held.
        if (b > drawnBegin_) paintLayer(0, static_cast<int>(std::ceil(slotX(b) + pad)));
        drawnBegin_ = b;
        drawnEnd_ = e;
    } else {
        layer_ = {};
    }
    if (hover_) setHover(slotAt(mapFromGlobal(QCursor::pos())));
    updateSummary();
    update(plotRect());
}

void HistoryGraph::redrawLayer() {
    const qreal dpr = devicePixelRatioF();
    layer_ = QPixmap(plotPixelsWide(), static_cast<int>(std::lround(plotHeight_ * dpr)));
    layer_.fill(Qt::transparent);  // gives the pixmap an alpha channel
    layerDark_ = Theme::isDark();
    ++fullRedraws_;
    paintLayer(0, layer_.width());
    drawnBegin_ = history_.begin();
    drawnEnd_ = history_.end();
}

void HistoryGraph::paintLayer(int fromX, int toX) {
    const int w = layer_.width(), h = layer_.height();
    const qreal dpr = devicePixelRatioF();
    toX = std::min(toX, w);
    if (toX <= fromX) return;
    const QRect region(fromX, 0, toX - fromX, h);
    QPainter p(&layer_);
    p.setClipRect(region);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(region, Qt::transparent);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);

    // Fractions to device y, inset so a line at 0 or 100 % is drawn whole.
    const double inset = std::ceil(kLineWidth * dpr / 2) + 1;
    const auto y = [&](double f) {
        if (std::isnan(f)) f = 0;
        return inset + (1 - std::clamp(f, 0.0, 1.0)) * (h - 2 * inset);
    };
    const double pad = kLineWidth * dpr + 1;
    const double base = y(0);
    const QColor userFill = solid(Theme::markColor(kUserTint), 0.8f);
    const QColor systemFill = solid(Theme::markColor(kSystemTint), 0.8f);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    for (std::uint64_t k = history_.begin() + 1; k < history_.end(); ++k) {
        const HistoryPoint &a = history_.at(k - 1), &b = history_.at(k);
        const double x0 = slotX(k - 1), x1 = slotX(k);
        if (x1 <= fromX || x0 >= toX || !a.cpuKnown || !b.cpuKnown) continue;
        // System stacked on user: the whole busy share in the system colour, the user share
        // over its lower part.
        p.setBrush(systemFill);
        p.drawPolygon(
            QPolygonF({{x0, base}, {x0, y(a.cpuBusy())}, {x1, y(b.cpuBusy())}, {x1, base}}));
        p.setBrush(userFill);
        p.drawPolygon(QPolygonF({{x0, base}, {x0, y(a.cpuUser)}, {x1, y(b.cpuUser)}, {x1, base}}));
    }
    // The grid over the areas, where it still shows, and under the memory line.
    p.setRenderHint(QPainter::Antialiasing, false);
    const int hair = std::max(1, static_cast<int>(std::lround(dpr)));
    for (double f : {0.0, 0.5, 1.0})
        p.fillRect(QRect(fromX, static_cast<int>(std::lround(y(f))) - hair / 2, toX - fromX, hair),
                   Theme::separator());
    p.setRenderHint(QPainter::Antialiasing);
    // Each unbroken run of known points in one usage colour is one polyline: segments drawn one
    // by one would lay their antialiased ends over each other and leave darker dots at the
    // joins. A segment takes the colour of its newer second, as the ring did then.
    QPolygonF run;
    Tint runTint = Tint::green;
    const auto flush = [&] {
        if (run.size() > 1) {
            p.setPen(QPen(Theme::markColor(runTint), kLineWidth * dpr, Qt::SolidLine, Qt::RoundCap,
                          Qt::RoundJoin));
            p.drawPolyline(run);
        }
        run.clear();
    };
    for (std::uint64_t k = history_.begin() + 1; k < history_.end(); ++k) {
        const HistoryPoint &a = history_.at(k - 1), &b = history_.at(k);
        const double x0 = slotX(k - 1), x1 = slotX(k);
        if (x1 < fromX - pad || x0 > toX + pad || !a.memKnown || !b.memKnown) {
            flush();
            continue;
        }
        const Tint tint = usageTint(b.memUsed);
        if (tint != runTint) {
            const QPointF last = run.isEmpty() ? QPointF() : run.back();
            flush();
            if (!last.isNull()) run << last;
            runTint = tint;
        }
        if (run.isEmpty()) run << QPointF(x0, y(a.memUsed));
        run << QPointF(x1, y(b.memUsed));
    }
    flush();
}

std::optional<std::uint64_t> HistoryGraph::slotAt(const QPoint& pos) const {
    if (history_.empty() || !plotRect().contains(pos)) return std::nullopt;
    const double s = plotPixelsWide() / kSteps;
    const double back = (plotPixelsWide() - pos.x() * devicePixelRatioF()) / s;
    const auto stepsBack = static_cast<std::uint64_t>(std::max(0.0, std::round(back)));
    if (stepsBack >= history_.size()) return std::nullopt;
    return history_.end() - 1 - stepsBack;
}

void HistoryGraph::setHover(std::optional<std::uint64_t> slot) {
    if (slot == hover_) return;
    hover_ = slot;
    update(plotRect());
    if (!slot) {
        QToolTip::hideText();
        return;
    }
    const std::uint64_t ago = history_.end() - 1 - *slot;
    const QString text = qs(HistoryModel::pointText(history_.at(*slot), ago));
    const QPoint at(static_cast<int>(slotX(*slot) / devicePixelRatioF()), 0);
    QToolTip::showText(mapToGlobal(at), text, this, plotRect());
}

void HistoryGraph::mouseMoveEvent(QMouseEvent* event) {
    setHover(slotAt(event->position().toPoint()));
}

void HistoryGraph::leaveEvent(QEvent*) {
    setHover(std::nullopt);
}

void HistoryGraph::updateSummary() {
    const QString summary = qs(HistoryModel::summary(history_));
    if (summary != accessibleDescription()) setAccessibleDescription(summary);
}

void HistoryGraph::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    if (event->rect().intersects(plotRect())) {
        if (!layerCurrent()) redrawLayer();
        p.drawPixmap(QRectF(plotRect()), layer_, QRectF(layer_.rect()));
        if (hover_ && *hover_ >= history_.begin() && *hover_ < history_.end()) {
            const double x = slotX(*hover_) / devicePixelRatioF();
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QPen(Theme::primary(0.35), 1));
            p.drawLine(QPointF(x, 0), QPointF(x, plotHeight_));
        }
    }
    p.setFont(axisFont());
    p.setPen(Theme::secondary());
    const QRect plot = plotRect();
    // The scale at the right of its grid lines (inset as the plot insets its lines); a new
    // sample repaints the plot alone.
    if (event->rect().right() > plot.right()) {
        const qreal inset =
            (std::ceil(kLineWidth * devicePixelRatioF() / 2) + 1) / devicePixelRatioF();
        const int th = QFontMetrics(axisFont()).height();
        for (double f : {0.0, 0.5, 1.0}) {
            const qreal y = std::clamp(inset + (1 - f) * (plot.height() - 2 * inset), th / 2.0,
                                       plot.height() - th / 2.0);
            p.drawText(QRectF(plot.right() + 5, y - th / 2.0, scaleWidth() - 5, th),
                       Qt::AlignLeft | Qt::AlignVCenter, qs(PageText::percent(f * 100)));
        }
    }
    const QRect axis(0, plotHeight_ + kAxisGap, plot.width(), height() - plotHeight_ - kAxisGap);
    if (event->rect().intersects(axis)) drawTimeAxis(p, axis);
}

}  // namespace orvane
