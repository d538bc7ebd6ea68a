// The Overview page's banner: the machine's icon, model name, chip and capsule labels on a
// rounded indigo-to-violet gradient with a coloured shadow.
#pragma once

#include <QWidget>
#include <vector>

#include "ui/model/Layout.h"
#include "ui/model/OverviewModel.h"

class QHBoxLayout;

namespace orvane {

class IconView;
class Text;
class CapsuleBadge;

class HeroBanner : public QWidget {
    Q_OBJECT
    Q_CLASSINFO("accessibleRole", "Grouping")
  public:
    static constexpr int kHeight = Layout::heroHeight;
    static constexpr qreal kCorner = Layout::heroCorner;

    explicit HeroBanner(QWidget* parent = nullptr);

    void setHero(const HeroText& hero);
    const HeroText& hero() const { return hero_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    HeroText hero_;
    IconView* icon_;
    Text* model_;
    Text* chip_;
    QHBoxLayout* pills_;
    std::vector<CapsuleBadge*> pillWidgets_;
};

}  // namespace orvane
