#include "ui/pages/SensorsView.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "ui/components/Card.h"
#include "ui/components/EmptyState.h"
#include "ui/components/IconView.h"
#include "ui/components/PageHeader.h"
#include "ui/components/Text.h"
#include "ui/paint/Theme.h"
#include "ui/widgets/PageScroll.h"
#include "ui/widgets/PageStyle.h"
#include "ui/widgets/RowList.h"

namespace orvane {

using PageStyle::qs;
using Field = SystemService::Field;

SensorsView::SensorsView(std::shared_ptr<SystemService> svc, QWidget* parent)
    : QWidget(parent), svc_(std::move(svc)) {
    QVBoxLayout* stack = PageScroll::install(this)->stack();
    header_ = new PageHeader(tr("Sensors"),
                             tr("Temperatures, fans and power \u00b7 updates every second"),
                             Symbol::thermometer, Theme::color(Tint::red));
    stack->addWidget(header_);
    list_ = new QVBoxLayout;
    list_->setSpacing(PageScroll::kSpacing);
    stack->addLayout(list_);
    placeholder_ = new Card(PageStyle::placeholder(tr("Reading sensors\u2026"), 24), nullptr);
    stack->addWidget(placeholder_);
    empty_ =
        new Card(new EmptyState(Symbol::thermometer, tr("No Sensors"),
                                tr("This computer does not report temperatures, fans or power")),
                 nullptr);
    stack->addWidget(empty_);

    apply();
    auto* watcher =
        new ServiceWatcher(svc_, this, fieldBit(Field::sensors) | fieldBit(Field::battery));
    connect(watcher, &ServiceWatcher::changed, this, [this] { apply(); });
}

void SensorsView::apply() {
    const SensorReadings& sensors = svc_->sensors();
    const std::vector<SensorCardText> cards = SensorsModel::cards(sensors, svc_->battery());
    placeholder_->setVisible(!sensors.sampled && cards.empty());
    empty_->setVisible(SensorsModel::showEmpty(sensors, cards));

    // The same devices take their new readings in place; another set is built again.
    std::vector<std::string> titles;
    for (const SensorCardText& c : cards)
        titles.push_back(c.title);
    if (titles != titles_) {
        setUpdatesEnabled(false);
        for (Card* c : cards_)
            delete c;
        cards_.clear();
        rows_.clear();
        for (const SensorCardText& c : cards) {
            auto* box = new QWidget;
            auto* col = new QVBoxLayout(box);
            col->setContentsMargins(0, 0, 0, 0);
            col->setSpacing(2);
            auto* head = new QHBoxLayout;
            head->setContentsMargins(0, 0, 0, 8);
            head->setSpacing(10);
            auto* icon = new IconView(c.icon, 20);
            icon->setColor(Theme::color(Tint::red));
            head->addWidget(icon, 0, Qt::AlignVCenter);
            auto* title = new Text(qs(c.title), Theme::font(16, QFont::DemiBold));
            title->setHeading(true);
            head->addWidget(title, 0, Qt::AlignVCenter);
            head->addStretch(1);
            col->addLayout(head);
            auto* rows = new RowList;
            col->addWidget(rows);
            auto* card = new Card(box, nullptr);
            list_->addWidget(card);
            cards_.push_back(card);
            rows_.push_back(rows);
        }
        titles_ = std::move(titles);
        setUpdatesEnabled(true);
    }
    for (std::size_t i = 0; i < cards.size(); ++i)
        rows_[i]->setRows(cards[i].rows);
}

}  // namespace orvane
