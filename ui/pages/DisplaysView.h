// The Graphics & Displays page: one card per graphics processor, then one per display, or a
// placeholder while both lists are empty.
#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "service/SystemService.h"
#include "ui/model/ServiceWatcher.h"

class QVBoxLayout;

namespace orvane {

class DeviceCard;
class EmptyState;
class PageHeader;

class DisplaysView : public QWidget {
    Q_OBJECT
  public:
    explicit DisplaysView(std::shared_ptr<SystemService> svc, QWidget* parent = nullptr);

    PageHeader* header() const { return header_; }
    const std::vector<DeviceCard*>& gpuCards() const { return gpuCards_; }
    const std::vector<DeviceCard*>& displayCards() const { return displayCards_; }
    QWidget* placeholder() const { return placeholder_; }
    // Shown once reading has finished without a processor or display.
    QWidget* emptyCard() const { return emptyCard_; }
    EmptyState* emptyState() const { return emptyState_; }

  private:
    void apply();

    std::shared_ptr<SystemService> svc_;
    PageHeader* header_;
    QVBoxLayout* gpuList_;
    QVBoxLayout* displayList_;
    QWidget* placeholder_;
    QWidget* emptyCard_;
    EmptyState* emptyState_;
    std::vector<DeviceCard*> gpuCards_;
    std::vector<DeviceCard*> displayCards_;
};

}  // namespace orvane
