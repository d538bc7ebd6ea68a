#include "ui/components/InfoRow.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <cmath>

#include "ui/components/Accessible.h"
#include "ui/components/Copyable.h"
#include "ui/components/Text.h"
#include "ui/paint/Icon.h"
#include "ui/paint/TextWrap.h"
#include "ui/paint/Theme.h"

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

// One token without a space or a hyphen: a serial number, a model identifier, a build.
bool isIdentifier(const QString& value) {
    return !value.isEmpty() && std::none_of(value.begin(), value.end(), [](QChar c) {
        return c.isSpace() || c == QLatin1Char('-');
    });
}

}  // namespace

InfoRow::InfoRow(const QString& label, const QString& value, Symbol icon,
                 std::optional<QColor> valueColor, QWidget* parent)
    : QWidget(parent),
      label_(Text::forLayout(label)),
      value_(Text::forLayout(value)),
      icon_(icon),
      valueColor_(valueColor) {
    // As tall as its text needs for the width it gets: a fixed height would cap it at the
    // size hint's single line.
    QSizePolicy sp(QSizePolicy::Expanding, QSizePolicy::Preferred);
    sp.setHeightForWidth(true);
    setSizePolicy(sp);
    copyable_ = Copyable::attach(this, value);
    copyable_->setNameOf([](const QWidget* row) {
        const auto* self = static_cast<const InfoRow*>(row);
        return self->label() + QStringLiteral(": ") + self->value();
    });
}

QColor InfoRow::valueColor() const {
    return valueColor_ ? *valueColor_ : Theme::textColor(valueTint_);
}

void InfoRow::setLabel(const QString& full) {
    const QString label = Text::forLayout(full);
    if (label == label_) return;
    label_ = label;
    updateGeometry();
    update();
    Accessible::nameChanged(this);
}

void InfoRow::setValue(const QString& full) {
    copyable_->setValue(full);
    const QString value = Text::forLayout(full);
    if (value == value_) return;
    const int before = heightForWidth(width());
    value_ = value;
    if (heightForWidth(width()) != before) updateGeometry();
    update();
    Accessible::nameChanged(this);
}

void InfoRow::setIcon(Symbol icon) {
    if (icon == icon_) return;
    icon_ = icon;
    update();
}

void InfoRow::setValueColor(std::optional<QColor> color) {
    if (color == valueColor_) return;
    valueColor_ = color;
    update();
}

void InfoRow::setValueTint(Tint tint) {
    if (!valueColor_ && tint == valueTint_) return;
    valueColor_.reset();
    valueTint_ = tint;
    update();
}

InfoRow::Geometry InfoRow::geometry(int width) const {
    Geometry g;
    const QFontMetrics lf(labelFont()), vf(valueFont());
    const int labelX = icon_ == Symbol::none ? 0 : kIconColumn + kSpacing;
    const int avail = std::max(0, width - labelX - kMinGap);
    const int valueNatural = textWidth(valueFont(), value_);
    const int labelNatural = textWidth(labelFont(), label_);
    // The label keeps its width unless label and value together are too wide; then the two
    // share the room, the value wrapping and the label eliding beyond its half. A label a
    // little wider than half keeps its width too when the value still wraps whole beside it.
    int labelW = std::min(labelNatural, std::max(avail - valueNatural, avail / 2));
    if (labelW < labelNatural && labelNatural <= avail * 2 / 3) {
        const QStringList lines =
            TextWrap::lines(value_, valueFont(), avail - labelNatural, kMaxValueLines);
        const bool whole = !lines.back().endsWith(QChar(0x2026)) &&
                           std::all_of(lines.begin(), lines.end(), [&](const QString& line) {
                               return textWidth(valueFont(), line) <= avail - labelNatural;
                           });
        if (whole) labelW = labelNatural;
    }
    labelW = std::max(0, labelW);
    const int valueW = std::max(1, avail - labelW);
    int valueH = vf.height();
    g.labelElided = labelW < labelNatural;
    g.valueLines = QStringList{value_};
    int shownValueW = valueNatural;
    if (valueNatural > valueW && isIdentifier(value_)) {
        // An identifier or serial number is never broken: it is shortened in the middle (the
        // tooltip and a click give it whole).
        g.valueLines = QStringList{vf.elidedText(value_, Qt::ElideMiddle, valueW)};
        g.valueElided = true;
        shownValueW = valueW;
    } else if (valueNatural > valueW) {
        g.valueWraps = true;
        g.valueLines = TextWrap::lines(value_, valueFont(), valueW, kMaxValueLines);
        g.valueElided =
            g.valueLines.back().endsWith(QChar(0x2026)) && !value_.endsWith(QChar(0x2026));
        valueH = static_cast<int>(g.valueLines.size() - 1) * vf.lineSpacing() + vf.height();
        shownValueW = valueW;
    }
    const int contentH = std::max({lf.height(), valueH, static_cast<int>(Icon::boxSize(13))});
    g.height = contentH + 2 * kVerticalPadding;
    const qreal midY = g.height / 2.0;
    if (icon_ != Symbol::none) {
        const qreal box = Icon::boxSize(13);
        g.icon = QRectF((kIconColumn - box) / 2.0, midY - box / 2, box, box);
    }
    g.label = QRectF(labelX, midY - lf.height() / 2.0, labelW, lf.height());
    g.value = QRectF(width - shownValueW, midY - valueH / 2.0, shownValueW, valueH);
    return g;
}

int InfoRow::heightForWidth(int width) const {
    return geometry(width).height;
}

int InfoRow::naturalWidth() const {
    const int labelX = icon_ == Symbol::none ? 0 : kIconColumn + kSpacing;
    return labelX + textWidth(labelFont(), label_) + kMinGap + textWidth(valueFont(), value_);
}

QSize InfoRow::sizeHint() const {
    const int w = std::min(naturalWidth(), 420);
    return {w, geometry(w).height};
}

QSize InfoRow::minimumSizeHint() const {
    const int labelX = icon_ == Symbol::none ? 0 : kIconColumn + kSpacing;
    // The height of one line: the row is as tall as its width needs (heightForWidth), and a
    // minimum measured at the narrowest width would make every page taller than its rows.
    return {labelX + kMinGap + 60, geometry(QWIDGETSIZE_MAX).height};
}

bool InfoRow::event(QEvent* event) {
    // A cut label or value shows in full in the tooltip (a click copies the full value).
    if (event->type() == QEvent::ToolTip) {
        const Geometry g = geometry(width());
        if (g.labelElided || g.valueElided) {
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(),
                               label_ + QStringLiteral(": ") + value_, this);
            return true;
        }
    }
    return QWidget::event(event);
}

void InfoRow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const Geometry g = geometry(width());
    if (icon_ != Symbol::none) Icon::paint(p, g.icon, icon_, Theme::secondary());

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
    QRectF line(g.value.left(), g.value.top(), g.value.width(), vf.height());
    for (const QString& text : g.valueLines) {
        p.drawText(line, Qt::AlignRight | Qt::AlignVCenter, text);
        line.translate(0, vf.lineSpacing());
    }
}

}  // namespace orvane
