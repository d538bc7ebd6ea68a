#include "ui/pages/BatteryView.h"
#include "ui/model/Layout.h"

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/components/Card.h"
#include "ui/components/IconView.h"
#include "ui/components/PageHeader.h"
#include "ui/components/RingGauge.h"
#include "ui/components/TabStop.h"
#include "ui/components/Text.h"
#include "ui/components/UsageBar.h"
#include "ui/model/BatteryModel.h"
#include "ui/model/JournalModel.h"
#include "ui/paint/Theme.h"
#include "ui/widgets/CapsuleBadge.h"
#include "ui/widgets/HealthHistoryCard.h"
#include "ui/widgets/PageScroll.h"
#include "ui/widgets/PageStyle.h"
#include "ui/widgets/RowList.h"

namespace orvane {

using PageStyle::qs;

namespace {

// A gauge card: its content centred in the card's fixed height.
Card* gaugeCard(QVBoxLayout*& column, int spacing) {
    auto* card = new Card;
    card->setFixedHeight(BatteryView::kGaugeCardHeight);
    column = card->body();
    column->setSpacing(spacing);
    column->addStretch(1);
    return card;
}

}  // namespace

BatteryView::BatteryView(std::shared_ptr<SystemService> svc, QWidget* parent)
    : QWidget(parent), svc_(std::move(svc)) {
    QVBoxLayout* stack = PageScroll::install(this)->stack();
    header_ = new PageHeader(tr("Battery"), {}, Symbol::battery100Bolt, Theme::color(Tint::green));
    stack->addWidget(header_);

    panel_ = new QWidget;
    auto* panel = new QVBoxLayout(panel_);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->setSpacing(PageScroll::kSpacing);
    stack->addWidget(panel_);

    // Gauges: health, charge, cycles, sharing the row equally.
    auto* gauges = new QHBoxLayout;
    gauges->setSpacing(Layout::cardSpacing);
    panel->addLayout(gauges);

    QVBoxLayout* col = nullptr;
    Card* healthCard = gaugeCard(col, 14);
    health_ = new RingGauge(0, {}, {}, Theme::color(Tint::green));
    condition_ = new CapsuleBadge({}, Tint::secondary, 13, QFont::DemiBold, 14, 6);
    TabStop::attach(condition_)->setName([this] {
        return tr("Condition: %1").arg(condition_->text());
    });
    col->addWidget(health_, 0, Qt::AlignHCenter);
    col->addWidget(condition_, 0, Qt::AlignHCenter);
    col->addStretch(1);
    gauges->addWidget(healthCard, 1);

    Card* chargeCard = gaugeCard(col, 14);
    charge_ = new RingGauge(0, {}, {}, Theme::color(Tint::green));
    chargeIcon_ = new IconView({}, 13, QFont::Medium);
    chargeText_ = new Text({}, Theme::font(13, QFont::Medium));
    TabStop::attach(chargeText_);
    auto* chargeLabel = new QHBoxLayout;
    chargeLabel->setSpacing(6);
    chargeLabel->addStretch(1);
    chargeLabel->addWidget(chargeIcon_);
    chargeLabel->addWidget(chargeText_);
    chargeLabel->addStretch(1);
    // As tall as the health card's badge, so both rings sit at the same height.
    auto* chargeLine = new QWidget;
    chargeLine->setFixedHeight(condition_->sizeHint().height());
    chargeLabel->setContentsMargins(0, 0, 0, 0);
    chargeLine->setLayout(chargeLabel);
    col->addWidget(charge_, 0, Qt::AlignHCenter);
    col->addWidget(chargeLine);
    col->addStretch(1);
    gauges->addWidget(chargeCard, 1);

    Card* cyclesCard = gaugeCard(col, 8);
    cycles_ = new Text({}, Theme::font(64, QFont::Bold));
    cycles_->setColor(Theme::accent());
    // A count of four or five digits ("12,345" with its separator) shrinks rather than being cut.
    cycles_->setMinimumScale(0.4);
    cycles_->setTabularDigits(true);
    cycles_->setAlignment(Qt::AlignCenter);
    auto* caption = new Text(tr("Cycle Count"), Theme::font(13), TextStyle::secondary);
    TabStop::attach(cycles_)->setName(
        [this, caption] { return caption->text() + QStringLiteral(": ") + cycles_->text(); });
    caption->setAlignment(Qt::AlignCenter);
    ratedBox_ = new QWidget;
    auto* rated = new QVBoxLayout(ratedBox_);
    rated->setContentsMargins(0, 14, 0, 0);
    rated->setSpacing(8);
    rated_ = new UsageBar({}, {}, 0, Theme::accent(), 8);
    remaining_ = new Text({}, Theme::font(11), TextStyle::secondary);
    remaining_->setAlignment(Qt::AlignCenter);
    remaining_->setWordWrap(true);
    TabStop::attach(remaining_);
    rated->addWidget(rated_);
    rated->addWidget(remaining_);
    col->addWidget(cycles_);
    col->addWidget(caption);
    col->addWidget(ratedBox_);
    col->addStretch(1);
    gauges->addWidget(cyclesCard, 1);

    // Details: capacity, electrical and status, top-aligned.
    auto* details = new QHBoxLayout;
    details->setSpacing(Layout::cardSpacing);
    capacity_ = new RowList(tr("Capacity"));
    electrical_ = new RowList(tr("Electrical & Status"));
    details->addWidget(new Card(capacity_, nullptr), 1);
    details->addWidget(new Card(electrical_, nullptr), 1);
    panel->addLayout(details);

    // Cards in a row share it equally: their widths follow the stretch alone, not what they
    // hold, down to what their content needs (set as each update changes it).
    for (Card* card : panel_->findChildren<Card*>(Qt::FindDirectChildrenOnly)) {
        QSizePolicy policy = card->sizePolicy();
        policy.setHorizontalPolicy(QSizePolicy::Ignored);
        card->setSizePolicy(policy);
    }

    history_ = new HealthHistoryCard;
    panel->addWidget(history_);

    noBatteryText_ = static_cast<Text*>(
        PageStyle::placeholder(qs(BatteryModel::noBatteryText(svc_->hardware())), 30));
    noBattery_ = new Card(noBatteryText_, nullptr);
    stack->addWidget(noBattery_);

    apply();
    auto* watcher = new ServiceWatcher(svc_, this,
                                       fieldBit(SystemService::Field::battery) |
                                           fieldBit(SystemService::Field::hardware) |
                                           fieldBit(SystemService::Field::journal));
    connect(watcher, &ServiceWatcher::changed, this, [this] { apply(); });
}

void BatteryView::apply() {
    const BatteryInfo& b = svc_->battery();
    header_->setSubtitle(qs(BatteryModel::subtitle(b)));
    const bool gauges = BatteryModel::showGauges(b);
    panel_->setVisible(gauges);
    noBattery_->setVisible(!gauges);
    if (!gauges) {
        noBatteryText_->setText(qs(BatteryModel::noBatteryText(svc_->hardware())));
        return;
    }

    const PageText::Gauge health = BatteryModel::healthGauge(b);
    health_->setFraction(health.fraction);
    health_->setTitle(qs(health.title));
    health_->setSubtitle(qs(health.subtitle));
    health_->setTint(Theme::color(health.tint));
    const PageText::Badge badge = BatteryModel::conditionBadge(b);
    condition_->setText(qs(badge.text));
    condition_->setTint(badge.color);

    const PageText::Gauge charge = BatteryModel::chargeGauge(b);
    charge_->setFraction(charge.fraction);
    charge_->setTitle(qs(charge.title));
    charge_->setSubtitle(qs(charge.subtitle));
    charge_->setTint(Theme::color(charge.tint));
    const ChargeState state = BatteryModel::chargeState(b);
    chargeIcon_->setSymbol(state.icon);
    chargeIcon_->setColor(Theme::color(charge.tint));
    chargeText_->setText(qs(state.text));
    PageStyle::setTextColor(chargeText_, charge.tint);

    const CyclesText cycles = BatteryModel::cycles(b);
    cycles_->setText(qs(cycles.count));
    ratedBox_->setVisible(cycles.showRated);
    if (cycles.showRated) {
        rated_->setLabel(qs(cycles.ratedBar.label));
        rated_->setDetail(qs(cycles.ratedBar.detail));
        rated_->setFraction(cycles.ratedBar.fraction);
        remaining_->setText(qs(cycles.remaining));
    }

    capacity_->setRows(BatteryModel::capacityRows(b));
    electrical_->setRows(BatteryModel::electricalRows(b));
    for (Card* card : panel_->findChildren<Card*>(Qt::FindDirectChildrenOnly))
        card->setMinimumWidth(card->minimumSizeHint().width());
    history_->setView(JournalModel::battery(svc_->journal()));
}

}  // namespace orvane
