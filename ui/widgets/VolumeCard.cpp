#include "ui/widgets/VolumeCard.h"
#include "ui/model/Layout.h"

#include <QEvent>
#include <QGridLayout>
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
#include "ui/widgets/Sparkline.h"

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

    // Three equal columns, so each entry starts at the same place in every card.
    auto* legendRow = new QGridLayout;
    legendRow->setHorizontalSpacing(Layout::cardSpacing);
    for (std::size_t i = 0; i < legend_.size(); ++i) {
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
        const int column = static_cast<int>(i);
        legendRow->addLayout(entry, 0, column,
                             i + 1 == legend_.size() ? Qt::AlignRight : Qt::AlignLeft);
        legendRow->setColumnStretch(column, 1);
    }
    body()->addLayout(legendRow);

    historyRow_ = new QWidget;
    auto* history = new QHBoxLayout(historyRow_);
    history->setContentsMargins(0, 0, 0, 0);
    history->setSpacing(8);
    sparkline_ = new Sparkline;
    trend_ = new Text({}, Theme::font(11, QFont::Medium), TextStyle::secondary);
    auto* last90 = new Text(tr("Last 90 days"), Theme::font(10), TextStyle::secondary);
    // Heard as one stop: "Last 90 days: <what the line shows>", then the trend.
    TabStop::attach(sparkline_)->setName([this, last90] {
        return last90->text() + QStringLiteral(": ") + sparkline_->accessibleName();
    });
    TabStop::attach(trend_);
    history->addWidget(last90, 0, Qt::AlignVCenter);
    history->addWidget(sparkline_, 0, Qt::AlignVCenter);
    history->addStretch(1);
    history->addWidget(trend_, 0, Qt::AlignVCenter);
    historyRow_->setVisible(false);
    body()->addWidget(historyRow_);

    setText(text);
}

void VolumeCard::setHistory(const VolumeHistoryView& view) {
    historyRow_->setVisible(view.show);
    sparkline_->setPoints(view.used, text_.color);
    sparkline_->setToolTip(qs(view.summary));
    sparkline_->setAccessibleName(qs(view.summary));
    trend_->setText(qs(view.trend));
}

void VolumeCard::changeEvent(QEvent* event) {
    Card::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) icon_->setColor(Theme::markColor(text_.color));
}

void VolumeCard::setText(const VolumeCardText& t) {
    text_ = t;
    const QColor usage = Theme::color(t.color);
    icon_->setSymbol(t.icon);
    // The icon is a mark: the shade of the usage colour that reads on the card.
    icon_->setColor(Theme::markColor(t.color));
    name_->setText(qs(t.name));
    bar_->setAccessibleName(qs(t.name));
    startup_->setVisible(t.startup);
    startup_->setText(qs(StorageModel::startupBadge().text));
    summary_->setText(qs(t.summary));
    used_->setText(qs(t.usedText));
    Accessible::nameChanged(name_);
    PageStyle::setTextColor(used_, t.color);
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
