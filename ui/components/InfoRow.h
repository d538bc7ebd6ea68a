// A label/value line: an optional icon, the label in the secondary style, and the value at
// the trailing edge (wrapping onto further lines aligned to the trailing edge). Clicking
// anywhere in the row copies the value.
#pragma once

#include <QColor>
#include <QRectF>
#include <QWidget>
#include <optional>

namespace orvane {

class Copyable;

class InfoRow : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kIconColumn = 18;
    static constexpr int kSpacing = 10;
    static constexpr int kMinGap = 16;
    static constexpr int kVerticalPadding = 5;

    // `valueColor` empty: the primary foreground colour of the current scheme.
    InfoRow(const QString& label, const QString& value, const QString& icon = {},
            std::optional<QColor> valueColor = std::nullopt, QWidget* parent = nullptr);

    QString label() const { return label_; }
    QString value() const { return value_; }
    QString icon() const { return icon_; }
    QColor valueColor() const;
    void setLabel(const QString& label);
    void setValue(const QString& value);
    void setIcon(const QString& icon);
    void setValueColor(std::optional<QColor> color);
    Copyable* copyable() const { return copyable_; }

    // Where the parts go in a row `width` wide (for painting and tests).
    struct Geometry {
        QRectF icon, label, value;
        int height = 0;
        bool valueWraps = false;
    };
    Geometry geometry(int width) const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString label_, value_, icon_;
    std::optional<QColor> valueColor_;
    Copyable* copyable_;
};

}  // namespace orvane
