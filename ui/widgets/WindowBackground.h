// The window's background: the scheme's window colour with a faint accent gradient that
// fades out from the top edge.
#pragma once

#include <QImage>
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

  private:
    // One column of the finished background, repeated across the dirty rectangles: animation
    // frames then copy opaque pixels instead of blending the gradient again.
    const QImage& column();
    QImage column_;
    QColor columnWindow_, columnAccent_;
};

}  // namespace orvane
