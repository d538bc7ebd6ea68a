// The window's background: the scheme's window colour with a faint accent gradient that
// fades out from the top edge.
#pragma once

#include <QWidget>

namespace orvane {

class WindowBackground : public QWidget {
    Q_OBJECT
  public:
    explicit WindowBackground(QWidget* parent = nullptr);

    // Paints the background into `rect` (used by windows that draw it themselves).
    static void paint(QPainter& painter, const QRectF& rect);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace orvane
