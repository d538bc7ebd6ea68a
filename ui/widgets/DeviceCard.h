// A card of the Graphics & Displays page: a header row (icon, name, optional "Main" badge,
// optional trailing note) above information rows.
#pragma once

#include "ui/components/Card.h"
#include "ui/model/DisplaysModel.h"

namespace orvane {

class CapsuleBadge;
class IconView;
class RowList;
class Text;

class DeviceCard : public Card {
    Q_OBJECT
  public:
    explicit DeviceCard(QWidget* parent = nullptr);

    void setGpu(const GpuCardText& text);
    void setDisplay(const DisplayCardText& text);

    IconView* icon() const { return icon_; }
    Text* name() const { return name_; }
    CapsuleBadge* badge() const { return badge_; }
    Text* note() const { return note_; }
    RowList* rows() const { return rows_; }

  private:
    IconView* icon_;
    Text* name_;
    CapsuleBadge* badge_;
    Text* note_;
    RowList* rows_;
};

}  // namespace orvane
