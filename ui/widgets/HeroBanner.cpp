#include "ui/widgets/HeroBanner.h"
#include "ui/model/Layout.h"

#include <QGraphicsDropShadowEffect>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include "ui/components/Accessible.h"
#include "ui/components/DropShadow.h"
#include "ui/components/FocusRing.h"
#include "ui/components/IconView.h"
#include "ui/components/TabStop.h"
#include "ui/components/Text.h"
#include "ui/paint/Theme.h"
#include "ui/widgets/CapsuleBadge.h"
#include "ui/widgets/PageStyle.h"

namespace orvane {

namespace {}  // namespace

HeroBanner::HeroBanner(QWidget* parent)
    : QWidget(parent),
      icon_(new IconView({}, 84, QFont::Thin)),
      model_(new Text({}, Theme::font(32, QFont::Bold))),
      chip_(new Text({}, Theme::font(17, QFont::Medium))),
      pills_(new QHBoxLayout) {
    setFixedHeight(kHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    icon_->setColor(Qt::white);
    auto* iconShadow = new QGraphicsDropShadowEffect(icon_);
    iconShadow->setColor(QColor::fromRgbF(0, 0, 0, 0.25f));
    iconShadow->setBlurRadius(12);
    iconShadow->setOffset(0, 6);
    icon_->setGraphicsEffect(iconShadow);

    model_->setColor(Qt::white);
    // A long model name takes two lines at most, shrinking before it is elided (the tooltip has
    // it in full).
    model_->setWordWrap(true);
    model_->setMaximumLines(2);
    model_->setMinimumScale(0.75);
    chip_->setColor(QColor::fromRgbF(1, 1, 1, 0.9f));

    pills_->setContentsMargins(0, 4, 0, 0);
    pills_->setSpacing(8);
    pills_->addStretch(1);

    // Centred by stretches rather than by alignment: an aligned layout would get its one-line
    // size hint, not the height a wrapped model name needs.
    auto* texts = new QVBoxLayout;
    texts->setContentsMargins(0, 0, 0, 0);
    texts->setSpacing(8);
    texts->addStretch(1);
    texts->addWidget(model_);
    texts->addWidget(chip_);
    texts->addLayout(pills_);
    texts->addStretch(1);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(Layout::heroPadding, Layout::heroPadding, Layout::heroPadding,
                            Layout::heroPadding);
    row->setSpacing(26);
    // The icon and the texts as one group, centred in a wide banner.
    row->addStretch(1);
    row->addWidget(icon_, 0, Qt::AlignVCenter);
    row->addLayout(texts, 0);
    row->addStretch(1);

    ShadowStyle shadow;
    shadow.cornerRadius = kCorner;
    shadow.color = Theme::heroStart();
    shadow.color.setAlphaF(0.35f);
    shadow.blur = 18;
    shadow.offset = {0, 8};
    DropShadow::attach(this, shadow);
    // The Overview page's heading, and its first stop.
    TabStop::attach(this)->setName([this] { return accessibleName(); }, QAccessible::Heading);
    TabStop::of(this)->focusRing()->setShape(kCorner + 3, QMargins(3, 3, 3, 3));
}

void HeroBanner::setHero(const HeroText& hero) {
    if (hero == hero_ && !pillWidgets_.empty()) return;
    hero_ = hero;
    icon_->setSymbol(hero.symbol);
    model_->setText(PageStyle::qs(hero.modelName));
    chip_->setText(PageStyle::qs(hero.chip));
    // No empty line in the banner when the chip is unknown.
    chip_->setVisible(!hero.chip.empty());
    // Read as one: "MacBook Pro, Apple M3 Pro, macOS Sonoma 14.5, Mac15,6".
    std::vector<std::string> parts = {hero.modelName, hero.chip};
    parts.insert(parts.end(), hero.pills.begin(), hero.pills.end());
    setAccessibleName(PageStyle::qs(PageText::joined(parts, ", ")));
    // The pills: reuse what is there, add or drop the difference.
    while (pillWidgets_.size() > hero.pills.size()) {
        delete pillWidgets_.back();
        pillWidgets_.pop_back();
    }
    for (std::size_t i = 0; i < hero.pills.size(); ++i) {
        const QString text = PageStyle::qs(hero.pills[i]);
        if (i < pillWidgets_.size()) {
            pillWidgets_[i]->setText(text);
            continue;
        }
        auto* pill = new CapsuleBadge(text, Tint::white, 12, QFont::DemiBold, 12, 5,
                                      Theme::heroPillOpacity, this);
        pill->setShrinkable(true);
        pills_->insertWidget(static_cast<int>(i), pill);
        pillWidgets_.push_back(pill);
    }
}

void HeroBanner::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(rect());
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, Theme::heroStart());
    g.setColorAt(1, Theme::heroEnd());
    p.fillPath(Theme::continuousRect(r, kCorner), g);
}

}  // namespace orvane
