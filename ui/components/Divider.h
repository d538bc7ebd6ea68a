// A hairline divider between rows, in the scheme's separator colour.
#pragma once

#include <QWidget>

namespace orvane {

class Divider : public QWidget {
    Q_OBJECT
  public:
    explicit Divider(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {1, 1}; }

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace orvane
