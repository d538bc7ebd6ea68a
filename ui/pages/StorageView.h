// The storage page: one card per mounted volume, or a placeholder while none is known.
#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "service/SystemService.h"
#include "ui/model/ServiceWatcher.h"

class QVBoxLayout;

namespace orvane {

class EmptyState;
class PageHeader;
class VolumeCard;

class StorageView : public QWidget {
    Q_OBJECT
  public:
    explicit StorageView(std::shared_ptr<SystemService> svc, QWidget* parent = nullptr);

    PageHeader* header() const { return header_; }
    const std::vector<VolumeCard*>& cards() const { return cards_; }
    QWidget* placeholder() const { return placeholder_; }
    // Shown once reading has finished without a volume.
    QWidget* emptyCard() const { return emptyCard_; }
    EmptyState* emptyState() const { return emptyState_; }
    // How many times the cards were built anew (a changed number of volumes).
    int rebuildCount() const { return rebuilds_; }

  private:
    void apply();
    void applyHistory();

    std::shared_ptr<SystemService> svc_;
    PageHeader* header_;
    QVBoxLayout* list_;
    QWidget* placeholder_;
    QWidget* emptyCard_;
    EmptyState* emptyState_;
    std::vector<VolumeCard*> cards_;
    int rebuilds_ = 0;
};

}  // namespace orvane
