#include "ui/pages/DisplaysView.h"

#include <QVBoxLayout>

#include "ui/components/Card.h"
#include "ui/components/EmptyState.h"
#include "ui/components/PageHeader.h"
#include "ui/model/DisplaysModel.h"
#include "ui/model/SensorsModel.h"
#include "ui/paint/Theme.h"
#include "ui/widgets/DeviceCard.h"
#include "ui/widgets/PageScroll.h"
#include "ui/widgets/PageStyle.h"

namespace orvane {

using PageStyle::qs;
using Field = SystemService::Field;

namespace {

// Brings `cards` to one per record: the same number of cards take the new values in place
// (every collection draws new identities for the same devices), another number is rebuilt.
template <class Record, class Fill>
void sync(QVBoxLayout* list, std::vector<DeviceCard*>& cards, const std::vector<Record>& records,
          Fill fill) {
    if (cards.size() != records.size()) {
        for (DeviceCard* c : cards)
            delete c;
        cards.clear();
        for (std::size_t i = 0; i < records.size(); ++i) {
            auto* card = new DeviceCard;
            list->addWidget(card);
            cards.push_back(card);
        }
    }
    for (std::size_t i = 0; i < records.size(); ++i)
        fill(cards[i], records[i]);
}

}  // namespace

DisplaysView::DisplaysView(std::shared_ptr<SystemService> svc, QWidget* parent)
    : QWidget(parent), svc_(std::move(svc)) {
    QVBoxLayout* stack = PageScroll::install(this)->stack();
    header_ =
        new PageHeader(tr("Graphics & Displays"), {}, Symbol::display, Theme::color(Tint::blue));
    stack->addWidget(header_);
    gpuList_ = new QVBoxLayout;
    gpuList_->setSpacing(PageScroll::kSpacing);
    stack->addLayout(gpuList_);
    displayList_ = new QVBoxLayout;
    displayList_->setSpacing(PageScroll::kSpacing);
    stack->addLayout(displayList_);
    placeholder_ = new Card(PageStyle::placeholder(tr("Reading display info\u2026"), 24), nullptr);
    stack->addWidget(placeholder_);
    emptyState_ = new EmptyState(Symbol::display, tr("No Graphics"),
                                 tr("No graphics processors or displays were reported"));
    emptyCard_ = new Card(emptyState_, nullptr);
    stack->addWidget(emptyCard_);

    apply();
    auto* watcher = new ServiceWatcher(svc_, this,
                                       fieldBit(Field::displays) | fieldBit(Field::graphics) |
                                           fieldBit(Field::loaded) | fieldBit(Field::sensors));
    connect(watcher, &ServiceWatcher::changed, this, [this] { apply(); });
}

void DisplaysView::apply() {
    const auto& graphics = svc_->graphics();
    const auto& displays = svc_->displays();
    header_->setSubtitle(qs(DisplaysModel::subtitle(graphics.size(), displays.size())));
    const PageText::ListState state =
        PageText::listState(svc_->loaded(), !graphics.empty() || !displays.empty());
    placeholder_->setVisible(state == PageText::ListState::reading);
    emptyCard_->setVisible(state == PageText::ListState::empty);
    // The two lists sit in separate columns of the stack, so GPU cards always come first.
    const std::vector<GpuLoadFacts>& loads = svc_->sensors().gpus;
    sync(gpuList_, gpuCards_, graphics,
         [&, i = std::size_t{0}](DeviceCard* c, const GraphicsInfo& g) mutable {
             c->setGpu(DisplaysModel::gpuCard(g, SensorsModel::loadOf(graphics, i++, loads)));
         });
    sync(displayList_, displayCards_, displays,
         [](DeviceCard* c, const DisplayInfo& d) { c->setDisplay(DisplaysModel::displayCard(d)); });
}

}  // namespace orvane
