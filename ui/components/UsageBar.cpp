#include "ui/components/UsageBar.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>
#include <cmath>

#include "ui/components/Accessible.h"
#include "ui/components/FocusRing.h"
#include "ui/components/Motion.h"
#include "ui/components/TabStop.h"
#include "ui/components/Text.h"
#include "ui/paint/Theme.h"

namespace orvane {

FillBar::FillBar(QWidget* parent)
    : QWidget(parent),
      motion_(std::make_unique<Motion>(kDefaultAnimationMs, [this](double from, double to) {
          const qreal minWidth = minFill_.value_or(height_);
          const QRectF dirty = changedRect(fillWidth(width(), from, minWidth, clamped_),
                                           fillWidth(width(), to, minWidth, clamped_), height_);
          if (!dirty.isEmpty()) update(dirty.toAlignedRect());
      })) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(height_);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    Accessible::registerFactory([](QWidget* w) -> QAccessibleInterface* {
        if (!qobject_cast<FillBar*>(w)) return nullptr;
        return Accessible::valueInterface(
            w, [](const QWidget* bar) { return static_cast<const FillBar*>(bar)->fraction(); },
            [](const QWidget* bar) {
                const auto* usage = qobject_cast<const UsageBar*>(bar->parentWidget());
                return usage ? usage->spokenName() : QString();
            });
    });
}

FillBar::~FillBar() = default;

double FillBar::displayedFraction() const {
    return motion_->value();
}

bool FillBar::isAnimating() const {
    return motion_->isRunning();
}

double FillBar::drawnFraction(double fraction, bool clamped) {
    const double f = std::isnan(fraction) ? 0.0 : fraction;
    return clamped ? std::min(std::max(f, 0.0), 1.0) : f;
}

QRectF FillBar::changedRect(qreal fromWidth, qreal toWidth, int height) {
    if (fromWidth == toWidth) return {};
    // The rounded end spans half the height; a pixel more on each side for antialiasing.
    const qreal left = std::max<qreal>(0, std::min(fromWidth, toWidth) - height - 1);
    const qreal right = std::max(fromWidth, toWidth) + 1;
    return {left, 0, right - left, qreal(height)};
}

qreal FillBar::fillWidth(qreal barWidth, double fraction, qreal minWidth, bool clamped) {
    // Nothing at all is drawn for nothing: a dot would read as a small value.
    const double f = drawnFraction(fraction, clamped);
    return f > 0 ? std::max(minWidth, barWidth * f) : 0;
}

void FillBar::setFraction(double fraction) {
    if (fraction == fraction_ || (std::isnan(fraction) && std::isnan(fraction_))) return;
    const bool colourChanges = !color_ && usageTint(fraction) != usageTint(fraction_);
    fraction_ = fraction;
    motion_->moveTo(drawnFraction(fraction, clamped_), width(),
                    Theme::animationsEnabled() && isVisible());
    Accessible::valueChanged(this, fraction);
    if (colourChanges) update();
}

void FillBar::setBarHeight(int height) {
    if (height == height_) return;
    height_ = height;
    setFixedHeight(height);
    update();
}

void FillBar::setMinimumFill(std::optional<qreal> width) {
    minFill_ = width;
    update();
}

void FillBar::setClamped(bool clamped) {
    if (clamped == clamped_) return;
    clamped_ = clamped;
    motion_->jumpTo(drawnFraction(fraction_, clamped_));
    update();
}

void FillBar::setColor(std::optional<QColor> color) {
    if (color == color_) return;
    color_ = color;
    update();
}

QColor FillBar::fillColor() const {
    return color_ ? *color_ : Theme::usageColor(fraction_);
}

void FillBar::setAnimationDuration(int ms) {
    motion_->setDuration(ms);
}

int FillBar::animationDuration() const {
    return motion_->duration();
}

qreal FillBar::currentFillWidth() const {
    return fillWidth(width(), displayedFraction(), minFill_.value_or(height_), clamped_);
}

void FillBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF track(0, 0, width(), height_);
    p.fillPath(Theme::capsule(track), Theme::primary(0.08));
    const QRectF fill(0, 0, currentFillWidth(), height_);
    if (fill.width() > 0) p.fillPath(Theme::capsule(fill), Theme::gradient(fillColor(), fill));
}

UsageBar::UsageBar(const QString& label, const QString& detail, double fraction,
                   std::optional<QColor> tint, int height, QWidget* parent)
    : QWidget(parent),
      label_(new Text(label, Theme::font(13, QFont::Medium))),
      detail_(new Text(detail, Theme::font(12), TextStyle::secondary)),
      bar_(new FillBar) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    detail_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    bar_->setBarHeight(height);
    bar_->setColor(tint);
    bar_->setFraction(fraction);
    // The bar is where the keyboard stops, its ring around the caption line too.
    TabStop::attach(bar_)->focusRing()->setShape(
        6, QMargins(6, label_->sizeHint().height() + 8, 6, 4));
    // Without a label the detail takes the caption's whole width.
    label_->setVisible(!label.isEmpty());

    auto* caption = new QHBoxLayout;
    caption->setContentsMargins(0, 0, 0, 0);
    caption->setSpacing(8);
    caption->addWidget(label_, 0, Qt::AlignVCenter);
    caption->addStretch(1);
    caption->addWidget(detail_, 0, Qt::AlignVCenter);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    column->addLayout(caption);
    column->addWidget(bar_);
}

QString UsageBar::label() const {
    return label_->text();
}
QString UsageBar::detail() const {
    return detail_->text();
}
QString UsageBar::spokenName() const {
    if (label().isEmpty() || detail().isEmpty()) return label() + detail();
    return label() + QStringLiteral(": ") + detail();
}
void UsageBar::setLabel(const QString& label) {
    // The page sets the same texts every second; an unchanged name tells nothing.
    if (label == label_->text()) return;
    label_->setText(label);
    label_->setVisible(!label.isEmpty());
    Accessible::nameChanged(bar_);
}
void UsageBar::setDetail(const QString& detail) {
    if (detail == detail_->text()) return;
    detail_->setText(detail);
    Accessible::nameChanged(bar_);
}

QColor UsageBar::colorFor(double fraction, std::optional<QColor> tint) {
    return tint ? *tint : Theme::usageColor(fraction);
}

}  // namespace orvane
