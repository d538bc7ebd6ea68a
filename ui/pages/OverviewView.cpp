#include "ui/pages/OverviewView.h"
#include "ui/model/Layout.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "ui/components/Card.h"
#include "ui/components/StatChip.h"
#include "ui/model/OverviewModel.h"
#include "ui/widgets/HeroBanner.h"
#include "ui/widgets/PageScroll.h"
#include "ui/widgets/PageStyle.h"
#include "ui/widgets/RowList.h"

namespace orvane {

using Field = SystemService::Field;
using PageStyle::qs;

namespace {

constexpr FieldSet kAll = ~FieldSet{0};

}  // namespace

OverviewView::OverviewView(std::shared_ptr<SystemService> svc, QWidget* parent)
    : QWidget(parent),
      svc_(std::move(svc)),
      hero_(new HeroBanner),
      system_(new RowList(tr("System"))),
      glance_(new RowList(tr("At a Glance"))) {
    QVBoxLayout* stack = PageScroll::install(this)->stack();
    stack->addWidget(hero_);

    auto* chipRow = new QHBoxLayout;
    chipRow->setSpacing(Layout::cardSpacing);
    for (auto& chip : chips_) {
        chip = new StatChip({}, {}, {}, QColor());
        chipRow->addWidget(chip, 1);
    }
    stack->addLayout(chipRow);

    auto* cards = new QHBoxLayout;
    cards->setSpacing(Layout::cardSpacing);
    cards->addWidget(new Card(system_, nullptr), 1);
    cards->addWidget(new Card(glance_, nullptr), 1);
    stack->addLayout(cards);

    apply(kAll);
    // A hidden page catches up when it is shown again.
    const FieldSet shown = fieldBit(Field::hardware) | fieldBit(Field::live) |
                           fieldBit(Field::battery) | fieldBit(Field::volumes) |
                           fieldBit(Field::displays);
    auto* watcher = new ServiceWatcher(svc_, this, shown);
    connect(watcher, &ServiceWatcher::changed, this, &OverviewView::apply);
}

void OverviewView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && chips_.back()) apply(fieldBit(Field::volumes));
}

void OverviewView::apply(FieldSet fields) {
    const SystemService& s = *svc_;
    const auto touched = [fields](std::initializer_list<Field> list) {
        for (Field f : list)
            if (fields & fieldBit(f)) return true;
        return false;
    };
    if (touched({Field::hardware})) {
        hero_->setHero(OverviewModel::hero(s.hardware()));
        system_->setRows(OverviewModel::systemRows(s.hardware()));
    }
    if (touched({Field::hardware, Field::battery, Field::volumes})) {
        const auto chips = OverviewModel::chips(s.hardware(), s.battery(), s.volumes());
        for (std::size_t i = 0; i < chips.size(); ++i) {
            chips_[i]->setIcon(chips[i].icon);
            chips_[i]->setValue(qs(chips[i].value));
            chips_[i]->setCaption(qs(chips[i].caption));
            chips_[i]->setWhat(qs(chips[i].what));
            chips_[i]->setTint(Theme::markColor(chips[i].tint));
        }
    }
    if (touched({Field::hardware, Field::live, Field::battery, Field::displays})) {
        glance_->setRows(
            OverviewModel::glanceRows(s.hardware(), s.live(), s.battery(), s.displays().size()));
    }
}

}  // namespace orvane
