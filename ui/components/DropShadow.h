// Drop shadows of widgets that reach outside their own rectangles, painted on an ancestor by a
// layer beneath that ancestor's children (ui/paint/Shadow draws them).
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QWidget>

#include "ui/paint/Shadow.h"

namespace orvane {

class ShadowLayer;

// Gives a widget a drop shadow that may reach outside its own rectangle: the shadow is drawn
// on the nearest ancestor that has room for it, after that ancestor's own painting and
// before its children, by that ancestor's ShadowLayer.
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
    QPointer<ShadowLayer> layer_;
    QList<QPointer<QWidget>> watched_;
    QRect lastBounds_;
    bool relocatePending_ = false;
};

// A transparent widget covering its host, stacked beneath the host's other children, that
// paints the shadows cast on the host in its own paint event: so they land on the host's own
// painting and under every child. One per host, made by the first shadow cast on it.
class ShadowLayer : public QWidget {
    Q_OBJECT
  public:
    // The layer of `host`, made on first use.
    static ShadowLayer* of(QWidget* host);

    void add(DropShadow* shadow);
    void remove(DropShadow* shadow);
    // Keeps the layer over the whole host.
    void fitHost();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    explicit ShadowLayer(QWidget* host);

    QList<QPointer<DropShadow>> shadows_;
};

}  // namespace orvane
