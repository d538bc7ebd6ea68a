#include "ui/widgets/VolumeCard.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include "ui/components/Accessible.h"
#include "ui/components/IconView.h"
#include "ui/components/TabStop.h"
#include "ui/components/Text.h"
#include "ui/components/UsageBar.h"
#include "ui/paint/Theme.h"
#include "ui/widgets/CapsuleBadge.h"
#include "ui/widgets/PageStyle.h"

namespace orvane {

using PageStyle::qs;

LegendDot::LegendDot(QWidget* parent) : QWidget(parent) {
    setFixedSize(kSize, kSize);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LegendDot::setColor(Tint tint, double opacity) {
    tint_ = tint;
    opacity_ = opacity;
    update();
}

void LegendDot::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QColor c = Theme::color(tint_);
    c.setAlphaF(c.alphaF() * opacity_);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(QRectF(rect()));
}

VolumeCard::VolumeCard(const VolumeCardText& text, QWidget* parent)
    : Card(parent),
      icon_(new IconView({}, 22)),
      name_(new Text({}, Theme::font(16, QFont::DemiBold))),
      startup_(new CapsuleBadge({}, Tint::accent, 10, QFont::Bold, 7, 2)),
      summary_(new Text({}, Theme::font(11), TextStyle::secondary)),
      used_(new Text({}, Theme::font(13, QFont::Medium))),
      bar_(new FillBar) {
    body()->setSpacing(14);
    // Long names and mount points wrap onto a second line before they are cut.
    for (Text* t : {name_, summary_}) {
        t->setWordWrap(true);
        t->setMaximumLines(2);
    }
    // The volume's heading says it all at once: "Macintosh HD, Startup, APFS · Internal · /,
    // 60% used"; its bar is not a stop of its own, so the share is heard once.
    name_->setHeading(true);
    TabStop::attach(name_)->setName(
        [this] {
            QStringList parts = {name_->text()};
            if (startup_->isVisibleTo(this)) parts << startup_->text();
            parts << summary_->text() << used_->text();
            parts.removeAll(QString());
            return parts.join(QStringLiteral(", "));
        },
        QAccessible::Heading);

    auto* nameRow = new QHBoxLayout;
    nameRow->setSpacing(8);
    nameRow->addWidget(name_);
    nameRow->addWidget(startup_);
    nameRow->addStretch(1);
    auto* titles = new QVBoxLayout;
    titles->setSpacing(2);
    titles->addLayout(nameRow);
    titles->addWidget(summary_);
    auto* header = new QHBoxLayout;
    header->setSpacing(12);
    header->addWidget(icon_, 0, Qt::AlignVCenter);
    header->addLayout(titles, 1);
    header->addWidget(used_, 0, Qt::AlignVCenter);
    body()->addLayout(header);

    bar_->setBarHeight(kBarHeight);
    bar_->setMinimumFill(kMinFill);
    bar_->setClamped(false);
    bar_->setAnimationDuration(0);
    body()->addWidget(bar_);

    auto* legendRow = new QHBoxLayout;
    for (std::size_t i = 0; i < legend_.size(); ++i) {
        if (i > 0) legendRow->addStretch(1);
        Legend& e = legend_[i];
        e.dot = new LegendDot;
        e.label = new Text({}, Theme::font(10), TextStyle::secondary);
        e.value = new Text({}, Theme::font(13, QFont::Medium));
        TabStop::attach(e.value)->setName(
            [&e] { return e.label->text() + QStringLiteral(": ") + e.value->text(); });
        auto* texts = new QVBoxLayout;
        texts->setSpacing(1);
        texts->addWidget(e.label);
        texts->addWidget(e.value);
        auto* entry = new QHBoxLayout;
        entry->setSpacing(6);
        entry->addWidget(e.dot, 0, Qt::AlignVCenter);
        entry->addLayout(texts);
        legendRow->addLayout(entry);
    }
    body()->addLayout(legendRow);

    setText(text);
}

void VolumeCard::setText(const VolumeCardText& t) {
    text_ = t;
    const QColor usage = Theme::color(t.color);
    icon_->setSymbol(t.icon);
    icon_->setColor(usage);
    name_->setText(qs(t.name));
    bar_->setAccessibleName(qs(t.name));
    startup_->setVisible(t.startup);
    startup_->setText(qs(StorageModel::startupBadge().text));
    summary_->setText(qs(t.summary));
    used_->setText(qs(t.usedText));
    Accessible::nameChanged(name_);
    used_->setColor(usage);
    bar_->setColor(usage);
    bar_->setMinimumFill(t.showFill ? kMinFill : 0);
    bar_->setFraction(t.fraction);
    for (std::size_t i = 0; i < legend_.size(); ++i) {
        const LegendEntry& src = t.legend[i];
        legend_[i].dot->setVisible(src.hasDot());
        legend_[i].dot->setColor(src.color, src.opacity);
        legend_[i].label->setText(qs(src.label));
        legend_[i].value->setText(qs(src.value));
    }
}

}  // namespace orvane
