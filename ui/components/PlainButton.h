// A borderless button: an optional icon and a text in one colour, with hover and pressed
// feedback and no chrome.
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QFont>
#include <optional>

#include "ui/model/Symbol.h"

namespace orvane {

class PlainButton : public QAbstractButton {
    Q_OBJECT
  public:
    PlainButton(const QString& text, Symbol symbol, const QFont& font, QWidget* parent = nullptr);

    Symbol symbol() const { return symbol_; }
    // Text and icon colour; the accent colour when not set.
    void setColor(std::optional<QColor> color);
    QColor color() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    Symbol symbol_;
    std::optional<QColor> color_;
    bool hovered_ = false;
};

}  // namespace orvane
