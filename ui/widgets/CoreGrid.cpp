#include "ui/widgets/CoreGrid.h"

#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "ui/components/FocusRing.h"
#include "ui/components/Motion.h"
#include "ui/components/TabStop.h"
#include "ui/components/Text.h"
#include "ui/components/UsageBar.h"
#include "ui/paint/TabularDigits.h"
#include "ui/paint/Theme.h"
#include "ui/widgets/PageStyle.h"

namespace orvane {

namespace {

QFont labelFont() {
    return Theme::font(11);
}
QFont percentFont() {
    return Theme::font(11, QFont::DemiBold);
}

// Asked on every animation frame; the theme's fonts do not change while the program runs.
int textHeight() {
    static const int height =
        std::max(QFontMetrics(labelFont()).height(), QFontMetrics(percentFont()).height());
    return height;
}

double finite(double v) {
    return std::isnan(v) ? 0.0 : v;
}

}  // namespace

CoreGrid::CoreGrid(QWidget* parent) : QWidget(parent) {
    QSizePolicy sp(QSizePolicy::Expanding, QSizePolicy::Preferred);
    sp.setHeightForWidth(true);
    setSizePolicy(sp);
    TabStop::attach(this, TabStop::Arrows::own);
    FocusRing::track(this);
}

QString CoreGrid::accessibleItemName(int index) const {
    if (index < 0 || index >= accessibleItemCount()) return {};
    const CoreCell& c = cells_[static_cast<std::size_t>(index)];
    return PageStyle::qs(c.label) + QStringLiteral(", ") + PageStyle::qs(c.percent);
}

QRect CoreGrid::accessibleItemRect(int index) const {
    return cellRect(static_cast<std::size_t>(std::max(index, 0))).toAlignedRect();
}

int CoreGrid::accessibleCurrentItem() const {
    return cells_.empty() ? -1 : std::min(current_, accessibleItemCount() - 1);
}

void CoreGrid::activateAccessibleItem(int index) {
    if (index < 0 || index >= accessibleItemCount() || index == current_) return;
    const int before = accessibleCurrentItem();
    current_ = index;
    update();
    Accessible::currentItemChanged(this, before, current_);
}

void CoreGrid::keyPressEvent(QKeyEvent* event) {
    const int last = accessibleItemCount() - 1;
    const int at = accessibleCurrentItem();
    int to = at;
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Up:
            to = std::max(at - 1, 0);
            break;
        case Qt::Key_Right:
        case Qt::Key_Down:
            to = std::min(at + 1, last);
            break;
        case Qt::Key_Home:
            to = 0;
            break;
        case Qt::Key_End:
            to = last;
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    activateAccessibleItem(to);
}

void CoreGrid::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
    Accessible::focusCurrentItem(this);
}

void CoreGrid::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

CoreGrid::~CoreGrid() = default;

std::vector<double> CoreGrid::shownFractions() const {
    std::vector<double> out;
    out.reserve(motions_.size());
    for (const auto& m : motions_)
        out.push_back(m->value());
    return out;
}

bool CoreGrid::isAnimating() const {
    return std::any_of(motions_.begin(), motions_.end(),
                       [](const auto& m) { return m->isRunning(); });
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

GridColumns CoreGrid::columnsFor(int width) const {
    return PerformanceModel::gridColumns(width, PerformanceModel::kCoreMinColumn,
                                         PerformanceModel::kCoreSpacing, cells_.size());
}

int CoreGrid::heightForWidth(int width) const {
    if (cells_.empty()) return 0;
    const int cols = columnsFor(width).count;
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
    if (cells.size() != cells_.size()) {
        // A new shape: every bar starts at its value, nothing animates.
        cells_ = std::move(cells);
        motions_.clear();
        for (std::size_t i = 0; i < cells_.size(); ++i) {
            motions_.push_back(std::make_unique<Motion>(
                kAnimationMs, [this, i](double from, double to) { barMoved(i, from, to); }));
            motions_.back()->jumpTo(finite(cells_[i].fraction));
        }
        updateGeometry();
        update();
        return;
    }

    // Repaint the whole cell only where its text or colour changed; moving bars repaint their
    // own changed stretch frame by frame.
    QRegion dirty;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (cells[i].percent != cells_[i].percent || cells[i].color != cells_[i].color ||
            cells[i].label != cells_[i].label)
            dirty += cellRect(i).toAlignedRect();
    }
    cells_ = std::move(cells);
    const bool animate = isVisible() && Theme::animationsEnabled();
    for (std::size_t i = 0; i < cells_.size(); ++i) {
        const double barWidth = barRect(cellRect(i)).width();
        const double to = finite(cells_[i].fraction);
        motions_[i]->moveTo(to, barWidth,
                            animate && std::abs(to - motions_[i]->value()) >= kMinAnimatedChange);
    }
    if (!dirty.isEmpty()) update(dirty);
}

void CoreGrid::barMoved(std::size_t i, double from, double to) {
    if (i >= motions_.size()) return;
    const QRectF bar = barRect(cellRect(i));
    const QRectF changed =
        FillBar::changedRect(PerformanceModel::coreLevelWidth(bar.width(), from),
                             PerformanceModel::coreLevelWidth(bar.width(), to), kBarHeight);
    if (!changed.isEmpty()) update(changed.translated(bar.topLeft()).toAlignedRect());
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
        const QColor usage = Theme::color(c.color);
        const QRectF text(cell.left(), cell.top(), cell.width(), th);
        // Animation frames repaint the bar alone: the texts stay as they are.
        if (event->region().intersects(text.toAlignedRect())) {
            p.setFont(lf);
            p.setPen(secondary);
            p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, PageStyle::qs(c.label));
            p.setFont(pf);
            p.setPen(Theme::textColor(c.color));
            TabularDigits::draw(p, text, Qt::AlignRight | Qt::AlignVCenter,
                                PageStyle::qs(c.percent));
        }

        const QRectF bar = barRect(cell);
        p.fillPath(Theme::capsule(bar), track);
        const QRectF level(bar.left(), bar.top(),
                           PerformanceModel::coreLevelWidth(bar.width(), motions_[i]->value()),
                           bar.height());
        p.fillPath(Theme::capsule(level), Theme::gradient(usage, level));
        if (static_cast<int>(i) == accessibleCurrentItem() && FocusRing::shown(this))
            FocusRing::paint(p, cell.adjusted(-3, -3, 3, 3).intersected(QRectF(rect())), 6);
    }
}

}  // namespace orvane
