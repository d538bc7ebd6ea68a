// Soft drop shadows of rounded rectangles, drawn from a cached blurred image (a nine-patch),
// so widgets that repaint often pay only for a few pixmap blits.
#pragma once

#include <QColor>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QWidget>

class QPainter;

namespace orvane {

struct ShadowStyle {
    qreal cornerRadius = 16;
    QColor color = QColor::fromRgbF(0, 0, 0, 0.12);
    qreal blur = 10;       // blur radius, in points
    QPointF offset{0, 4};  // shadow offset from the shape
};

namespace Shadow {

// How far the blurred shadow reaches beyond the shape on each side (before the offset).
qreal extent(qreal blur);
// The rectangle the shadow of `shape` covers.
QRectF bounds(const QRectF& shape, const ShadowStyle& style);
// Paints the shadow of the rounded rectangle `shape`.
void paint(QPainter& painter, const QRectF& shape, const ShadowStyle& style);

}  // namespace Shadow

class ShadowHost;

// Gives a widget a drop shadow that may reach outside its own rectangle: the shadow is drawn
// on the nearest ancestor that has room for it, after that ancestor's own painting and
// before its children.
class DropShadow : public QObject {
    Q_OBJECT
  public:
    static DropShadow* attach(QWidget* target, const ShadowStyle& style);
    ~DropShadow() override;

    const ShadowStyle& style() const { return style_; }
    void setStyle(const ShadowStyle& style);
    QWidget* target() const { return target_; }
    // The ancestor the shadow is painted on.
    QWidget* host() const;
    // The shadow's rectangle in the host's coordinates.
    QRectF boundsInHost() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    DropShadow(QWidget* target, const ShadowStyle& style);
    void relocate();

    QPointer<QWidget> target_;
    ShadowStyle style_;
    QPointer<ShadowHost> host_;
    QList<QPointer<QWidget>> watched_;
    QRect lastBounds_;
    bool relocatePending_ = false;
};

}  // namespace orvane
