#include "ui/widgets/HealthHistoryCard.h"

#include <QHBoxLayout>

#include "ui/components/TabStop.h"
#include "ui/components/Text.h"
#include "ui/paint/Theme.h"
#include "ui/widgets/HealthChart.h"
#include "ui/widgets/PageStyle.h"

namespace orvane {

using PageStyle::qs;

HealthHistoryCard::HealthHistoryCard(QWidget* parent)
    : Card(parent),
      chart_(new HealthChart),
      summary_(new Text({}, Theme::font(13, QFont::Medium), TextStyle::secondary)),
      projection_(new Text({}, Theme::font(12), TextStyle::secondary)),
      empty_(static_cast<Text*>(PageStyle::placeholder({}, 18))) {
    body()->setSpacing(10);
    auto* heading = new QHBoxLayout;
    heading->setSpacing(12);
    auto* title = new Text(tr("Health History"), Theme::font(15, QFont::DemiBold));
    title->setHeading(true);
    heading->addWidget(title);
    heading->addStretch(1);
    summary_->setTabularDigits(true);
    TabStop::attach(summary_)->setName(
        [this, title] { return title->text() + QStringLiteral(": ") + summary_->text(); });
    TabStop::attach(projection_);
    heading->addWidget(summary_);
    body()->addLayout(heading);
    body()->addWidget(chart_);
    projection_->setWordWrap(true);
    body()->addWidget(projection_);
    body()->addWidget(empty_);
}

void HealthHistoryCard::setView(const BatteryHistoryView& view) {
    chart_->setView(view);
    chart_->setVisible(view.show);
    summary_->setVisible(view.show);
    projection_->setVisible(view.show);
    empty_->setVisible(!view.show);
    summary_->setText(qs(view.summary));
    projection_->setText(qs(view.projectionText));
    empty_->setText(qs(view.emptyText));
}

}  // namespace orvane
