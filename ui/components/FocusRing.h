// The keyboard focus ring our painted widgets draw: a rounded outline in the accent colour,
// shown only while the focus came from the keyboard (Tab, Shift+Tab, the arrow keys between
// values), so a click or the program placing the focus draws nothing.
#pragma once

#include <QMargins>
#include <QPointer>
#include <QRectF>
#include <QWidget>

class QPainter;

namespace orvane::FocusRing {

inline constexpr qreal kWidth = 2;

// Whether a focus-in for `reason` shows the ring.
bool fromKeyboard(Qt::FocusReason reason);
// Whether `widget` has focus and shows its ring. Requires track(widget).
bool shown(const QWidget* widget);
// Follows the focus of `widget`: remembers whether it came from the keyboard and repaints
// the widget when the focus comes or goes.
void track(QWidget* widget);
// Draws the ring inside `rect`.
void paint(QPainter& painter, const QRectF& rect, qreal radius);

// The ring around a widget that paints nothing of its own for it (a copyable value): a sibling
// laid over the target and `outset` beyond it, so the ring clears the target's own content,
// transparent to the mouse, shown while the target has keyboard focus. Made on the first
// keyboard focus, when the target sits in its final parent.
class Overlay : public QObject {
  public:
    explicit Overlay(QWidget* target, qreal radius = 6, QMargins outset = {6, 1, 6, 1});
    void setShape(qreal radius, QMargins outset);
    // The ring's widget while it exists (for tests).
    QWidget* ring() const { return ring_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void place();

    QWidget* target_;
    QPointer<QWidget> ring_;
    qreal radius_;
    QMargins outset_;
};

}  // namespace orvane::FocusRing
