// One volume on the Storage page: icon, name, startup badge, summary line, percentage used,
// the fill bar and the used / free / total legend.
#pragma once

#include <array>

#include "ui/components/Card.h"
#include "ui/model/JournalModel.h"
#include "ui/model/StorageModel.h"

namespace orvane {

class CapsuleBadge;
class FillBar;
class IconView;
class Text;
class LegendDot;
class Sparkline;

class VolumeCard : public Card {
    Q_OBJECT
  public:
    static constexpr int kBarHeight = 14;
    static constexpr qreal kMinFill = 12;

    explicit VolumeCard(const VolumeCardText& text, QWidget* parent = nullptr);

    void setText(const VolumeCardText& text);
    const VolumeCardText& text() const { return text_; }

    IconView* icon() const { return icon_; }
    Text* name() const { return name_; }
    CapsuleBadge* startupBadge() const { return startup_; }
    Text* summary() const { return summary_; }
    Text* usedText() const { return used_; }
    FillBar* bar() const { return bar_; }

    struct Legend {
        LegendDot* dot;
        Text* label;
        Text* value;
    };
    const std::array<Legend, 3>& legend() const { return legend_; }

    // The used space over the last 90 days, under the legend, while there is some.
    void setHistory(const VolumeHistoryView& view);
    QWidget* historyRow() const { return historyRow_; }
    Sparkline* sparkline() const { return sparkline_; }
    Text* trendText() const { return trend_; }

  protected:
    // A new scheme recolours the icon.
    void changeEvent(QEvent* event) override;

  private:
    VolumeCardText text_;
    IconView* icon_;
    Text* name_;
    CapsuleBadge* startup_;
    Text* summary_;
    Text* used_;
    FillBar* bar_;
    std::array<Legend, 3> legend_{};
    QWidget* historyRow_;
    Sparkline* sparkline_;
    Text* trend_;
};

// The 9-point dot before a legend entry, coloured by name at an opacity.
class LegendDot : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kSize = 9;
    explicit LegendDot(QWidget* parent = nullptr);
    void setColor(Tint tint, double opacity);
    QSize sizeHint() const override { return {kSize, kSize}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Tint tint_ = Tint::primary;
    double opacity_ = 1;
};

}  // namespace orvane
