// A label/value line: an optional icon, the label in the secondary style, and the value at
// the trailing edge (wrapping onto further lines aligned to the trailing edge). Clicking
// anywhere in the row copies the value.
#pragma once

#include <QColor>
#include <QRectF>
#include <QStringList>
#include <QWidget>
#include <optional>

#include "ui/model/Symbol.h"
#include "ui/model/Tint.h"

namespace orvane {

class Copyable;

class InfoRow : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kIconColumn = 18;
    static constexpr int kSpacing = 10;
    static constexpr int kMinGap = 16;
    static constexpr int kVerticalPadding = 5;
    // A long value wraps onto at most this many lines, the last one elided.
    static constexpr int kMaxValueLines = 2;

    // `valueColor` empty: the primary foreground colour of the current scheme.
    InfoRow(const QString& label, const QString& value, Symbol icon = Symbol::none,
            std::optional<QColor> valueColor = std::nullopt, QWidget* parent = nullptr);

    QString label() const { return label_; }
    QString value() const { return value_; }
    Symbol icon() const { return icon_; }
    QColor valueColor() const;
    void setLabel(const QString& label);
    void setValue(const QString& value);
    void setIcon(Symbol icon);
    void setValueColor(std::optional<QColor> color);
    // The value in the text shade of a tint, following the scheme (Tint::primary: the default).
    void setValueTint(Tint tint);
    Copyable* copyable() const { return copyable_; }

    // Where the parts go in a row `width` wide (for painting and tests).
    struct Geometry {
        QRectF icon, label, value;
        int height = 0;
        bool valueWraps = false;
        QStringList valueLines;  // as drawn, right-aligned
        bool labelElided = false, valueElided = false;
    };
    Geometry geometry(int width) const;
    // The width the row needs to show label and value in full on one line.
    int naturalWidth() const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    QString label_, value_;
    Symbol icon_;
    std::optional<QColor> valueColor_;
    Tint valueTint_ = Tint::primary;
    Copyable* copyable_;
};

}  // namespace orvane
