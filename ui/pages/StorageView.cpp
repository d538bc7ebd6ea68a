#include "ui/pages/StorageView.h"

#include <QVBoxLayout>

#include "ui/components/Card.h"
#include "ui/components/EmptyState.h"
#include "ui/components/PageHeader.h"
#include "ui/model/JournalModel.h"
#include "ui/model/StorageModel.h"
#include "ui/paint/Theme.h"
#include "ui/widgets/PageScroll.h"
#include "ui/widgets/PageStyle.h"
#include "ui/widgets/VolumeCard.h"

namespace orvane {

using PageStyle::qs;

StorageView::StorageView(std::shared_ptr<SystemService> svc, QWidget* parent)
    : QWidget(parent), svc_(std::move(svc)) {
    QVBoxLayout* stack = PageScroll::install(this)->stack();
    header_ =
        new PageHeader(tr("Storage"), {}, Symbol::internalDriveFill, Theme::color(Tint::green));
    stack->addWidget(header_);
    list_ = new QVBoxLayout;
    list_->setSpacing(PageScroll::kSpacing);
    stack->addLayout(list_);
    placeholder_ = new Card(PageStyle::placeholder(tr("Reading volumes\u2026"), 24), nullptr);
    stack->addWidget(placeholder_);
    emptyState_ =
        new EmptyState(Symbol::internalDrive, tr("No Volumes"), tr("No volumes were found"));
    emptyCard_ = new Card(emptyState_, nullptr);
    stack->addWidget(emptyCard_);

    apply();
    auto* watcher = new ServiceWatcher(svc_, this,
                                       fieldBit(SystemService::Field::volumes) |
                                           fieldBit(SystemService::Field::journal) |
                                           fieldBit(SystemService::Field::loaded));
    connect(watcher, &ServiceWatcher::changed, this, [this] { apply(); });
}

void StorageView::apply() {
    const std::vector<VolumeInfo>& volumes = svc_->volumes();
    header_->setSubtitle(qs(StorageModel::subtitle(volumes.size())));
    const PageText::ListState state = PageText::listState(svc_->loaded(), !volumes.empty());
    placeholder_->setVisible(state == PageText::ListState::reading);
    emptyCard_->setVisible(state == PageText::ListState::empty);

    // Every collection brings new identities, but usually the same volumes: with as many cards
    // as volumes, the cards take the new values in place instead of being built again.
    if (cards_.size() != volumes.size()) {
        setUpdatesEnabled(false);
        for (VolumeCard* c : cards_)
            delete c;
        cards_.clear();
        for (const VolumeInfo& v : volumes) {
            auto* card = new VolumeCard(StorageModel::card(v));
            list_->addWidget(card);
            cards_.push_back(card);
        }
        ++rebuilds_;
        applyHistory();
        setUpdatesEnabled(true);
        return;
    }
    for (std::size_t i = 0; i < volumes.size(); ++i) {
        const VolumeCardText text = StorageModel::card(volumes[i]);
        if (!(text == cards_[i]->text())) cards_[i]->setText(text);
    }
    applyHistory();
}

// Each volume's points, found by its mount point.
void StorageView::applyHistory() {
    const std::vector<VolumeInfo>& volumes = svc_->volumes();
    for (std::size_t i = 0; i < volumes.size() && i < cards_.size(); ++i)
        cards_[i]->setHistory(JournalModel::volume(svc_->journal(), volumes[i].mountPoint));
}

}  // namespace orvane
