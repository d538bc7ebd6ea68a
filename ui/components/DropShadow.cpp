#include "ui/components/DropShadow.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>

#include "ui/paint/Theme.h"

namespace orvane {

ShadowLayer::ShadowLayer(QWidget* host) : QWidget(host) {
    setObjectName(QStringLiteral("orvane.shadowlayer"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    fitHost();
    lower();
    show();
}

ShadowLayer* ShadowLayer::of(QWidget* host) {
    if (auto* layer = host->findChild<ShadowLayer*>(QStringLiteral("orvane.shadowlayer"),
                                                    Qt::FindDirectChildrenOnly))
        return layer;
    return new ShadowLayer(host);
}

void ShadowLayer::add(DropShadow* shadow) {
    if (!shadows_.contains(shadow)) shadows_.append(shadow);
}

void ShadowLayer::remove(DropShadow* shadow) {
    shadows_.removeAll(shadow);
}

void ShadowLayer::fitHost() {
    if (geometry() != parentWidget()->rect()) setGeometry(parentWidget()->rect());
}

void ShadowLayer::paintEvent(QPaintEvent* pe) {
    QWidget* host = parentWidget();
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setClipRegion(pe->region());
    for (const auto& s : std::as_const(shadows_)) {
        if (!s || !s->target() || !s->target()->isVisibleTo(host)) continue;
        const QRectF b = s->boundsInHost();
        if (!pe->region().intersects(b.toAlignedRect())) continue;
        const QRectF shape(QPointF(s->target()->mapTo(host, QPoint(0, 0))),
                           QSizeF(s->target()->size()));
        // The shadow is kept out from under the shape: a repaint that stays inside it, away
        // from the rounded corners (gauge frames, changing texts), has no shadow to draw.
        const QRegion interior =
            Theme::continuousRectInterior(shape.toAlignedRect(), s->style().cornerRadius, 1);
        if (((pe->region() & b.toAlignedRect()) - interior).isEmpty()) continue;
        // Keep the shadow out from under the shape, so translucent fills stay clean.
        QPainterPath outside;
        outside.addRect(b.adjusted(-1, -1, 1, 1));
        outside = outside.subtracted(
            Theme::continuousRect(shape.adjusted(0.5, 0.5, -0.5, -0.5), s->style().cornerRadius));
        p.save();
        p.setClipPath(outside, Qt::IntersectClip);
        Shadow::paint(p, shape, s->style());
        p.restore();
    }
}

namespace {
bool isBarrier(const QWidget* w) {
    if (w->isWindow() || w->autoFillBackground() || w->testAttribute(Qt::WA_OpaquePaintEvent))
        return true;
    const QWidget* parent = w->parentWidget();
    const auto* area =
        parent ? qobject_cast<const QAbstractScrollArea*>(parent->parentWidget()) : nullptr;
    return area && area->viewport() == parent;
}
}  // namespace

DropShadow::DropShadow(QWidget* target, const ShadowStyle& style)
    : QObject(target), target_(target), style_(style) {
    setObjectName(QStringLiteral("orvane.dropshadow"));
    target->installEventFilter(this);
    relocate();
}

DropShadow::~DropShadow() {
    // Clear the shadow from the host, which outlives the widget that cast it.
    if (layer_) {
        layer_->remove(this);
        if (!lastBounds_.isEmpty()) layer_->parentWidget()->update(lastBounds_);
    }
}

DropShadow* DropShadow::attach(QWidget* target, const ShadowStyle& style) {
    if (!target) return nullptr;
    if (auto* existing = target->findChild<DropShadow*>(QStringLiteral("orvane.dropshadow"),
                                                        Qt::FindDirectChildrenOnly)) {
        existing->setStyle(style);
        return existing;
    }
    return new DropShadow(target, style);
}

void DropShadow::setStyle(const ShadowStyle& style) {
    style_ = style;
    relocate();
}

QWidget* DropShadow::host() const {
    return layer_ ? layer_->parentWidget() : nullptr;
}

QRectF DropShadow::boundsInHost() const {
    QWidget* h = host();
    if (!h || !target_) return {};
    const QRectF shape(QPointF(target_->mapTo(h, QPoint(0, 0))), QSizeF(target_->size()));
    return Shadow::bounds(shape, style_);
}

void DropShadow::relocate() {
    if (!target_) return;
    // The nearest ancestor whose rectangle holds the whole shadow. The search stops early at
    // an ancestor that would hide anything painted beneath it (an opaque widget, the content
    // of a scroll area, the window): the shadow is painted there, clipped to it.
    const QRectF local = Shadow::bounds(QRectF(QPointF(0, 0), QSizeF(target_->size())), style_);
    QWidget* chosen = nullptr;
    QList<QPointer<QWidget>> between;
    QPoint offset = target_->pos();
    for (QWidget* w = target_->parentWidget(); w; w = w->parentWidget()) {
        if (QRectF(w->rect()).contains(local.translated(offset)) || isBarrier(w)) {
            chosen = w;
            break;
        }
        between.append(w);
        offset += w->pos();
    }

    // Watch the widgets between target and host: when they move, so does the shadow.
    for (const auto& w : std::as_const(watched_)) {
        if (w && !between.contains(w)) w->removeEventFilter(this);
    }
    for (const auto& w : std::as_const(between)) {
        if (!watched_.contains(w)) w->installEventFilter(this);
    }
    watched_ = between;

    ShadowLayer* layer = chosen ? ShadowLayer::of(chosen) : nullptr;
    if (layer != layer_) {
        if (layer_) {
            layer_->remove(this);
            if (!lastBounds_.isEmpty()) layer_->parentWidget()->update(lastBounds_);
        }
        layer_ = layer;
        lastBounds_ = {};
        if (layer_) layer_->add(this);
    }
    if (layer_) {
        layer_->fitHost();
        const QRect now = boundsInHost().toAlignedRect().adjusted(-1, -1, 1, 1);
        if (now != lastBounds_) {
            layer_->parentWidget()->update(lastBounds_.united(now));
            lastBounds_ = now;
        }
    }
}

bool DropShadow::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::ParentChange:
            // Coalesce the bursts a layout pass produces into one relocation.
            if (!relocatePending_) {
                relocatePending_ = true;
                QTimer::singleShot(0, this, [this] {
                    relocatePending_ = false;
                    relocate();
                });
            }
            // Also repaint the old place right away, before the widget is painted elsewhere.
            if (layer_ && !lastBounds_.isEmpty()) layer_->parentWidget()->update(lastBounds_);
            break;
        default:
            break;
    }
    return false;
}

}  // namespace orvane
