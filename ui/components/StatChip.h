// A compact tile: an icon, a prominent value on one line (shrinking to 70 % before it is
// elided, never wrapping) and a caption. Clicking it copies the value.
#pragma once

#include <QColor>
#include <QWidget>

#include "ui/model/Symbol.h"

namespace orvane {

class Copyable;

class StatChip : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kPadding = 14;
    static constexpr int kSpacing = 6;
    static constexpr qreal kValueSize = 17;
    static constexpr qreal kMinScale = 0.7;

    StatChip(Symbol icon, const QString& value, const QString& caption, const QColor& tint,
             QWidget* parent = nullptr);

    Symbol icon() const { return icon_; }
    QString value() const { return value_; }
    QString caption() const { return caption_; }
    // What the tile is ("Memory"), for assistive technology when the caption says something
    // else ("LPDDR5"); empty: the caption.
    QString what() const { return what_; }
    void setWhat(const QString& what);
    QColor tint() const { return tint_; }
    void setIcon(Symbol icon);
    void setValue(const QString& value);
    void setCaption(const QString& caption);
    void setTint(const QColor& tint);
    Copyable* copyable() const { return copyable_; }

    // The value's font size for a text width: 17, shrunk as needed down to 70 % of it.
    static qreal fittedValueSize(const QString& value, qreal width);
    // The value as drawn in `width`: elided only once the smallest size does not fit.
    static QString shownValue(const QString& value, qreal width);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Symbol icon_;
    QString value_, caption_, what_;
    QColor tint_;
    Copyable* copyable_;
};

}  // namespace orvane
