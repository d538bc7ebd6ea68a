#include "ui/components/SegmentedPicker.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "ui/components/FocusRing.h"
#include "ui/paint/Icon.h"
#include "ui/paint/Theme.h"

namespace orvane {
namespace {
constexpr int kHeight = 28;
constexpr int kInset = 2;
QFont labelFont() {
    return Theme::font(11, QFont::Medium);
}
}  // namespace

SegmentedPicker::SegmentedPicker(const QList<Option>& options, QWidget* parent)
    : QWidget(parent), options_(options) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFocusPolicy(Qt::TabFocus);
    setMouseTracking(true);
    if (!options_.isEmpty()) current_ = 0;
    FocusRing::track(this);
    Accessible::install();
}

QString SegmentedPicker::currentKey() const {
    return current_ >= 0 && current_ < options_.size() ? options_[current_].key : QString();
}

void SegmentedPicker::setCurrentKey(const QString& key) {
    int index = -1;
    for (int i = 0; i < options_.size(); ++i) {
        if (options_[i].key == key) index = i;
    }
    if (index == current_) return;
    const int before = current_;
    current_ = index;
    update();
    Accessible::currentItemChanged(this, before, current_);
}

void SegmentedPicker::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    Accessible::focusCurrentItem(this);
}

QRect SegmentedPicker::segmentRect(int index) const {
    // Each segment as wide as its icon and label plus an equal share of the rest, so every
    // label has the same room on either side however long it is in this language.
    const QFontMetrics fm(labelFont());
    const auto content = [&](int i) {
        return Icon::boxSize(11) + 4 + fm.horizontalAdvance(options_[i].label);
    };
    const int n = std::max<int>(1, static_cast<int>(options_.size()));
    qreal used = 0;
    for (int i = 0; i < options_.size(); ++i)
        used += content(i);
    const qreal share = (width() - 2.0 * kInset - used) / n;
    if (share < 0) {
        const qreal w = (width() - 2.0 * kInset) / n;
        return QRectF(kInset + index * w, kInset, w, height() - 2.0 * kInset).toAlignedRect();
    }
    qreal x = kInset;
    for (int i = 0; i < index; ++i)
        x += content(i) + share;
    const qreal w = index < options_.size() ? content(index) + share : share;
    return QRectF(x, kInset, w, height() - 2.0 * kInset).toAlignedRect();
}

QSize SegmentedPicker::sizeHint() const {
    const QFontMetrics fm(labelFont());
    int widest = 0;
    for (const auto& o : options_)
        widest = std::max(widest, fm.horizontalAdvance(o.label));
    const int segment = widest + static_cast<int>(Icon::boxSize(11)) + 4 + 16;
    return {segment * static_cast<int>(options_.size()) + 2 * kInset, kHeight};
}

QSize SegmentedPicker::minimumSizeHint() const {
    return {60, kHeight};
}

void SegmentedPicker::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF whole = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    p.fillPath(Theme::continuousRect(whole, 8), Theme::pickerTrack());

    const QFont font = labelFont();
    const QFontMetrics fm(font);
    p.setFont(font);
    const qreal box = Icon::boxSize(11);
    for (int i = 0; i < options_.size(); ++i) {
        const QRectF r = QRectF(segmentRect(i));
        const bool on = i == current_;
        if (on) {
            const QRectF knob = r.adjusted(0.5, 0.5, -0.5, -0.5);
            // A raised segment with a hairline shadow.
            p.fillPath(Theme::continuousRect(knob.translated(0, 0.75), 6),
                       QColor::fromRgbF(0, 0, 0, 0.12));
            p.fillPath(Theme::continuousRect(knob, 6), Theme::pickerKnob());
        } else if (i == hovered_) {
            p.fillPath(Theme::continuousRect(r.adjusted(1, 1, -1, -1), 6), Theme::primary(0.05));
        }
        if (i > 0 && i != current_ && i - 1 != current_) {
            p.fillRect(QRectF(r.left() - 0.5, r.top() + 6, 1, r.height() - 12), Theme::separator());
        }
        const QColor fg = on ? Theme::primary() : Theme::secondary();
        const int labelW = std::min(fm.horizontalAdvance(options_[i].label),
                                    static_cast<int>(r.width() - box - 10));
        const qreal contentW = box + 4 + labelW;
        const qreal x = r.center().x() - contentW / 2;
        Icon::paint(p, QRectF(x, r.center().y() - box / 2, box, box), options_[i].symbol, fg,
                    QFont::DemiBold);
        p.setPen(fg);
        p.drawText(QRectF(x + box + 4, r.top(), labelW + 1, r.height()),
                   Qt::AlignLeft | Qt::AlignVCenter,
                   fm.elidedText(options_[i].label, Qt::ElideRight, labelW + 1));
    }
    if (FocusRing::shown(this)) FocusRing::paint(p, QRectF(rect()), 8);
}

void SegmentedPicker::choose(int index) {
    if (index < 0 || index >= options_.size()) return;
    const bool changed = index != current_;
    const int before = current_;
    current_ = index;
    update();
    if (changed) Accessible::currentItemChanged(this, before, index);
    if (changed) emit chosen(options_[index].key);
}

void SegmentedPicker::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    for (int i = 0; i < options_.size(); ++i) {
        if (segmentRect(i).contains(event->position().toPoint())) choose(i);
    }
}

void SegmentedPicker::mouseMoveEvent(QMouseEvent* event) {
    int h = -1;
    for (int i = 0; i < options_.size(); ++i) {
        if (segmentRect(i).contains(event->position().toPoint())) h = i;
    }
    if (h != hovered_) {
        hovered_ = h;
        update();
    }
}

void SegmentedPicker::leaveEvent(QEvent*) {
    if (hovered_ != -1) {
        hovered_ = -1;
        update();
    }
}

void SegmentedPicker::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Left) {
        choose(std::max(0, current_ - 1));
    } else if (event->key() == Qt::Key_Right) {
        choose(std::min(static_cast<int>(options_.size()) - 1, current_ + 1));
    } else {
        QWidget::keyPressEvent(event);
    }
}

}  // namespace orvane
