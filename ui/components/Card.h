// The rounded translucent container every page groups its content in: padded content on the
// regular material, a hairline border and a soft shadow.
#pragma once

#include <QVBoxLayout>
#include <QWidget>

#include "ui/model/Layout.h"

namespace orvane {

class Card : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kDefaultPadding = Layout::cardPadding;

    // The content goes into body(), a vertical layout whose margins are the padding (spacing 0;
    // set your own). The card takes the full available width.
    explicit Card(QWidget* parent = nullptr, int padding = kDefaultPadding);
    // Convenience: a card holding `content`, which is stretched to the card's width.
    explicit Card(QWidget* content, QWidget* parent, int padding = kDefaultPadding);

    QVBoxLayout* body() const { return body_; }
    int padding() const { return padding_; }
    void setPadding(int padding);

    // The rectangle of the content inside a card of `size` with `padding` (for tests).
    static QRect contentRect(const QSize& size, int padding);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QVBoxLayout* body_;
    int padding_;
};

}  // namespace orvane
