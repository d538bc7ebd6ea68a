// A short word on a capsule filled with its own colour at a low opacity ("Main", "Startup",
// a battery's condition, the banner's pills).
#pragma once

#include <QFont>
#include <QWidget>

#include "ui/model/Tint.h"

namespace orvane {

class CapsuleBadge : public QWidget {
    Q_OBJECT
    Q_CLASSINFO("accessibleRole", "StaticText")
  public:
    CapsuleBadge(const QString& text, Tint tint, qreal pointSize, QFont::Weight weight, int padX,
                 int padY, qreal fillOpacity = 0.15, QWidget* parent = nullptr);

    QString text() const { return text_; }
    Tint tint() const { return tint_; }
    void setText(const QString& text);
    void setTint(Tint tint);
    // A long text (an identifier) may be shortened in the middle when the row has no room
    // (the banner's accessible name keeps it whole).
    void setShrinkable(bool shrinkable);
    bool isShrinkable() const { return shrinkable_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString text_;
    Tint tint_;
    QFont font_;
    int padX_, padY_;
    qreal fillOpacity_;
    bool shrinkable_ = false;
};

}  // namespace orvane
