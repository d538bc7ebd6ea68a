#include "ui/pages/CoreGrid.h"

#include <QPaintEvent>
#include <QPainter>
#include <QVariantAnimation>
#include <cmath>

#include "ui/components/Theme.h"
#include "ui/pages/PageStyle.h"

namespace orvane {

namespace {

QFont labelFont() {
    return Theme::font(11);
}
QFont percentFont() {
    return Theme::font(11, QFont::DemiBold);
}

int textHeight() {
    return std::max(QFontMetrics(labelFont()).height(), QFontMetrics(percentFont()).height());
}

double finite(double v) {
    return std::isnan(v) ? 0.0 : v;
}

}  // namespace

CoreGrid::CoreGrid(QWidget* parent) : QWidget(parent), anim_(new QVariantAnimation(this)) {
    QSizePolicy sp(QSizePolicy::Expanding, QSizePolicy::Preferred);
    sp.setHeightForWidth(true);
    setSizePolicy(sp);
    anim_->setDuration(kAnimationMs);
    anim_->setEasingCurve(QEasingCurve::OutCubic);
    anim_->setStartValue(0.0);
    anim_->setEndValue(1.0);
    connect(anim_, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& v) { step(v.toDouble()); });
}

int CoreGrid::cellHeight() {
    return textHeight() + kCellSpacing + kBarHeight;
}

QRectF CoreGrid::barRect(const QRectF& cell) {
    return {cell.left(), cell.bottom() - kBarHeight, cell.width(), double(kBarHeight)};
}

QRectF CoreGrid::cellRect(std::size_t i) const {
    const GridColumns c = columns();
    const std::size_t col = i % static_cast<std::size_t>(c.count);
    const std::size_t row = i / static_cast<std::size_t>(c.count);
    const double x = static_cast<double>(col) * (c.width + PerformanceModel::kCoreSpacing);
    const double y = static_cast<double>(row) * (cellHeight() + PerformanceModel::kCoreSpacing);
    return {x, y, c.width, double(cellHeight())};
}

int CoreGrid::heightForWidth(int width) const {
    if (cells_.empty()) return 0;
    const int cols = PerformanceModel::gridColumns(width).count;
    const int rows = static_cast<int>((cells_.size() + cols - 1) / cols);
    return rows * cellHeight() + (rows - 1) * static_cast<int>(PerformanceModel::kCoreSpacing);
}

QSize CoreGrid::sizeHint() const {
    const int w = std::max(width(), int(PerformanceModel::kCoreMinColumn));
    return {w, heightForWidth(w)};
}

QSize CoreGrid::minimumSizeHint() const {
    return {0, 0};
}

void CoreGrid::setCells(std::vector<CoreCell> cells) {
    const bool reshaped = cells.size() != cells_.size();
    const bool animate = !reshaped && isVisible() && Theme::animationsEnabled();
    std::vector<double> targets(cells.size());
    for (std::size_t i = 0; i < cells.size(); ++i)
        targets[i] = finite(cells[i].fraction);

    // Repaint only the cells whose text or level changed.
    QRegion dirty;
    bool moving = false;
    if (!reshaped) {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const bool textChanged = cells[i].percent != cells_[i].percent ||
                                     cells[i].color != cells_[i].color ||
                                     cells[i].label != cells_[i].label;
            const bool levelChanged = targets[i] != shown_[i];
            if (textChanged || levelChanged) dirty += cellRect(i).toAlignedRect();
            moving = moving || levelChanged;
        }
    }
    anim_->stop();
    from_ = reshaped ? targets : shown_;
    cells_ = std::move(cells);
    if (reshaped) {
        shown_ = targets;
        updateGeometry();
        update();
        return;
    }
    if (animate && moving) {
        anim_->start();
    } else {
        shown_ = targets;
    }
    if (!dirty.isEmpty()) update(dirty);
}

void CoreGrid::step(double progress) {
    QRegion dirty;
    for (std::size_t i = 0; i < cells_.size() && i < from_.size(); ++i) {
        const double target = finite(cells_[i].fraction);
        if (from_[i] == target) continue;
        shown_[i] = from_[i] + (target - from_[i]) * progress;
        dirty += barRect(cellRect(i)).toAlignedRect();
    }
    if (!dirty.isEmpty()) update(dirty);
}

void CoreGrid::paintEvent(QPaintEvent* event) {
    if (cells_.empty()) return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QFont lf = labelFont(), pf = percentFont();
    const int th = textHeight();
    const QColor track = Theme::primary(0.08);
    const QColor secondary = Theme::secondary();
    for (std::size_t i = 0; i < cells_.size(); ++i) {
        const QRectF cell = cellRect(i);
        if (!event->region().intersects(cell.toAlignedRect())) continue;
        const CoreCell& c = cells_[i];
        const QColor usage = PageStyle::color(c.color);
        const QRectF text(cell.left(), cell.top(), cell.width(), th);
        p.setFont(lf);
        p.setPen(secondary);
        p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, PageStyle::qs(c.label));
        p.setFont(pf);
        p.setPen(usage);
        p.drawText(text, Qt::AlignRight | Qt::AlignVCenter, PageStyle::qs(c.percent));

        const QRectF bar = barRect(cell);
        p.fillPath(Theme::capsule(bar), track);
        const QRectF level(bar.left(), bar.top(),
                           PerformanceModel::coreLevelWidth(bar.width(), shown_[i]), bar.height());
        p.fillPath(Theme::capsule(level), Theme::gradient(usage, level));
    }
}

}  // namespace orvane
