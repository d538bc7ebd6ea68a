#include "ui/components/InfoRow.h"

#include <QPainter>
#include <QRegularExpression>
#include <cmath>

#include "ui/components/Copyable.h"
#include "ui/components/Icon.h"
#include "ui/components/Theme.h"

namespace orvane {
namespace {

QFont labelFont() {
    return Theme::font(13);
}
QFont valueFont() {
    return Theme::font(13, QFont::Medium);
}

// Whole pixels that surely hold the text: rounding a fractional advance down would elide it.
int textWidth(const QFont& font, const QString& text) {
    if (text.isEmpty()) return 0;
    return static_cast<int>(std::ceil(QFontMetricsF(font).horizontalAdvance(text))) + 1;
}

int wrapFlags(const QString& text, const QFontMetrics& fm, int width) {
    int longest = 0;
    for (const QString& word :
         text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
        longest = std::max(longest, fm.horizontalAdvance(word));
    return longest > width ? Qt::TextWrapAnywhere : Qt::TextWordWrap;
}

}  // namespace

InfoRow::InfoRow(const QString& label, const QString& value, const QString& icon,
                 std::optional<QColor> valueColor, QWidget* parent)
    : QWidget(parent), label_(label), value_(value), icon_(icon), valueColor_(valueColor) {
    // As tall as its text needs for the width it gets, never stretched.
    QSizePolicy sp(QSizePolicy::Expanding, QSizePolicy::Fixed);
    sp.setHeightForWidth(true);
    setSizePolicy(sp);
    copyable_ = Copyable::attach(this, value_);
}

QColor InfoRow::valueColor() const {
    return valueColor_ ? *valueColor_ : Theme::primary();
}

void InfoRow::setLabel(const QString& label) {
    if (label == label_) return;
    label_ = label;
    updateGeometry();
    update();
}

void InfoRow::setValue(const QString& value) {
    copyable_->setValue(value);
    if (value == value_) return;
    const int before = heightForWidth(width());
    value_ = value;
    if (heightForWidth(width()) != before) updateGeometry();
    update();
}

void InfoRow::setIcon(const QString& icon) {
    if (icon == icon_) return;
    icon_ = icon;
    update();
}

void InfoRow::setValueColor(std::optional<QColor> color) {
    if (color == valueColor_) return;
    valueColor_ = color;
    update();
}

InfoRow::Geometry InfoRow::geometry(int width) const {
    Geometry g;
    const QFontMetrics lf(labelFont()), vf(valueFont());
    const int labelX = icon_.isEmpty() ? 0 : kIconColumn + kSpacing;
    const int avail = std::max(0, width - labelX - kMinGap);
    const int valueNatural = textWidth(valueFont(), value_);
    const int labelNatural = textWidth(labelFont(), label_);
    // The label keeps its width unless label and value together are too wide; then the two
    // share the room, the value wrapping and the label eliding beyond its half.
    int labelW = std::min(labelNatural, std::max(avail - valueNatural, avail / 2));
    labelW = std::max(0, labelW);
    const int valueW = std::max(1, avail - labelW);
    int valueH = vf.height();
    if (valueNatural > valueW) {
        g.valueWraps = true;
        valueH = vf.boundingRect(QRect(0, 0, valueW, 100000),
                                 Qt::AlignRight | wrapFlags(value_, vf, valueW), value_)
                     .height();
    }
    const int contentH = std::max({lf.height(), valueH, static_cast<int>(Icon::boxSize(13))});
    g.height = contentH + 2 * kVerticalPadding;
    const qreal midY = g.height / 2.0;
    if (!icon_.isEmpty()) {
        const qreal box = Icon::boxSize(13);
        g.icon = QRectF((kIconColumn - box) / 2.0, midY - box / 2, box, box);
    }
    g.label = QRectF(labelX, midY - lf.height() / 2.0, labelW, lf.height());
    const int shownValueW = g.valueWraps ? valueW : valueNatural;
    g.value = QRectF(width - shownValueW, midY - valueH / 2.0, shownValueW, valueH);
    return g;
}

int InfoRow::heightForWidth(int width) const {
    return geometry(width).height;
}

QSize InfoRow::sizeHint() const {
    const QFontMetrics lf(labelFont()), vf(valueFont());
    const int labelX = icon_.isEmpty() ? 0 : kIconColumn + kSpacing;
    const int w =
        labelX + textWidth(labelFont(), label_) + kMinGap + textWidth(valueFont(), value_);
    return {std::min(w, 420), geometry(std::min(w, 420)).height};
}

QSize InfoRow::minimumSizeHint() const {
    const int labelX = icon_.isEmpty() ? 0 : kIconColumn + kSpacing;
    return {labelX + kMinGap + 60, geometry(labelX + kMinGap + 60).height};
}

void InfoRow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const Geometry g = geometry(width());
    if (!icon_.isEmpty()) Icon::paint(p, g.icon, icon_, Theme::secondary());

    const QFontMetrics lf(labelFont()), vf(valueFont());
    p.setFont(labelFont());
    p.setPen(Theme::secondary());
    const bool labelFits = g.label.width() >= textWidth(labelFont(), label_);
    p.drawText(g.label, Qt::AlignLeft | Qt::AlignVCenter,
               labelFits
                   ? label_
                   : lf.elidedText(label_, Qt::ElideRight, static_cast<int>(g.label.width())));

    p.setFont(valueFont());
    p.setPen(valueColor());
    const int flags = Qt::AlignRight | Qt::AlignVCenter |
                      (g.valueWraps ? wrapFlags(value_, vf, static_cast<int>(g.value.width())) : 0);
    p.drawText(g.value, flags, value_);
}

}  // namespace orvane
