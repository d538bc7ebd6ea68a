#include "ui/components/Shadow.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QHash>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTimer>
#include <cmath>
#include <vector>

#include "ui/components/Theme.h"

namespace orvane {
namespace Shadow {
namespace {

// The blur radius is about two standard deviations of the Gaussian.
qreal sigmaFor(qreal blur) {
    return std::max<qreal>(0.5, blur / 2.0);
}

void blurAlpha(QImage& image, qreal sigma) {
    const int radius = static_cast<int>(std::ceil(sigma * 3));
    std::vector<float> kernel(2 * radius + 1);
    float sum = 0;
    for (int i = -radius; i <= radius; ++i) {
        kernel[i + radius] = std::exp(-(i * i) / (2.0f * float(sigma * sigma)));
        sum += kernel[i + radius];
    }
    for (float& k : kernel)
        k /= sum;

    const int w = image.width(), h = image.height();
    std::vector<float> a(w * h), tmp(w * h);
    for (int y = 0; y < h; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x)
            a[y * w + x] = qAlpha(line[x]);
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float v = 0;
            for (int k = -radius; k <= radius; ++k) {
                const int xx = std::clamp(x + k, 0, w - 1);
                v += a[y * w + xx] * kernel[k + radius];
            }
            tmp[y * w + x] = v;
        }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float v = 0;
            for (int k = -radius; k <= radius; ++k) {
                const int yy = std::clamp(y + k, 0, h - 1);
                v += tmp[yy * w + x] * kernel[k + radius];
            }
            a[y * w + x] = v;
        }
    for (int y = 0; y < h; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int alpha = std::clamp(static_cast<int>(std::lround(a[y * w + x])), 0, 255);
            line[x] = qRgba(0, 0, 0, alpha);
        }
    }
}

struct NinePatch {
    QPixmap pixmap;  // in device pixels
    int pad = 0;     // blur reach, device pixels
    int corner = 0;  // corner size, device pixels
};

// A blurred rounded square with a one-pixel stretchable middle, black in its alpha; the
// colour is applied when drawing.
const NinePatch& patch(qreal radius, qreal blur, qreal dpr) {
    static QHash<QString, NinePatch> cache;
    const QString key = QStringLiteral("%1|%2|%3").arg(radius).arg(blur).arg(dpr);
    auto it = cache.find(key);
    if (it != cache.end()) return *it;

    NinePatch np;
    const qreal sigma = sigmaFor(blur) * dpr;
    np.pad = static_cast<int>(std::ceil(sigma * 3));
    np.corner = static_cast<int>(std::ceil(radius * 1.25 * dpr)) + np.pad;
    const int side = 2 * np.corner + 1 + 2 * np.pad;
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF shape(np.pad, np.pad, side - 2 * np.pad, side - 2 * np.pad);
        p.fillPath(Theme::continuousRect(shape, radius * dpr), Qt::black);
    }
    blurAlpha(image, sigma);
    np.pixmap = QPixmap::fromImage(image.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    return *cache.insert(key, np);
}

}  // namespace

qreal extent(qreal blur) {
    return std::ceil(sigmaFor(blur) * 3);
}

QRectF bounds(const QRectF& shape, const ShadowStyle& style) {
    const qreal e = extent(style.blur);
    return shape.translated(style.offset).adjusted(-e, -e, e, e);
}

void paint(QPainter& painter, const QRectF& shape, const ShadowStyle& style) {
    if (shape.isEmpty() || style.color.alpha() == 0) return;
    const qreal dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const NinePatch& np = patch(style.cornerRadius, style.blur, dpr);

    // Colourise once per colour: the patch is black; tint through composition.
    static QHash<QString, QPixmap> tinted;
    const QString key = QStringLiteral("%1|%2").arg(np.pixmap.cacheKey()).arg(style.color.rgba());
    auto it = tinted.find(key);
    if (it == tinted.end()) {
        QPixmap pm(np.pixmap.size());
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.drawPixmap(0, 0, np.pixmap);
        p.setCompositionMode(QPainter::CompositionMode_SourceIn);
        p.fillRect(pm.rect(), style.color);
        p.end();
        it = tinted.insert(key, pm);
    }
    const QPixmap& pm = *it;

    const QRectF target = bounds(shape, style);
    const qreal c = np.corner / dpr;  // corner size in points
    const int sc = np.corner;
    const int sside = pm.width();
    const qreal cw = std::min(c, target.width() / 2), ch = std::min(c, target.height() / 2);
    const qreal xs[4] = {target.left(), target.left() + cw, target.right() - cw, target.right()};
    const qreal ys[4] = {target.top(), target.top() + ch, target.bottom() - ch, target.bottom()};
    const int sx[4] = {0, sc, sc + 1, sside};
    const int sy[4] = {0, sc, sc + 1, sside};
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const QRectF t(QPointF(xs[col], ys[row]), QPointF(xs[col + 1], ys[row + 1]));
            if (t.width() <= 0 || t.height() <= 0) continue;
            const QRectF s(QPointF(sx[col], sy[row]), QPointF(sx[col + 1], sy[row + 1]));
            painter.drawPixmap(t, pm, s);
        }
    }
}

}  // namespace Shadow

// One per ancestor that carries shadows: paints the ancestor, then every shadow registered
// on it, then lets the children paint as usual.
class ShadowHost : public QObject {
  public:
    explicit ShadowHost(QWidget* host) : QObject(host), host_(host) {
        setObjectName(QStringLiteral("orvane.shadowhost"));
        host->installEventFilter(this);
    }

    static ShadowHost* of(QWidget* host) {
        if (auto* h = host->findChild<ShadowHost*>(QStringLiteral("orvane.shadowhost"),
                                                   Qt::FindDirectChildrenOnly))
            return h;
        return new ShadowHost(host);
    }

    void add(DropShadow* s) {
        if (!shadows_.contains(s)) shadows_.append(s);
    }
    void remove(DropShadow* s) { shadows_.removeAll(s); }
    QWidget* widget() const { return host_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != host_ || event->type() != QEvent::Paint || shadows_.isEmpty()) return false;
        auto* pe = static_cast<QPaintEvent*>(event);
        // The host's own painting first (QObject::event is public and dispatches virtually).
        static_cast<QObject*>(host_)->event(event);
        QPainter p(host_);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.setClipRegion(pe->region());
        for (const auto& s : std::as_const(shadows_)) {
            if (!s || !s->target() || !s->target()->isVisibleTo(host_)) continue;
            const QRectF b = s->boundsInHost();
            if (!pe->region().intersects(b.toAlignedRect())) continue;
            const QRectF shape(QPointF(s->target()->mapTo(host_, QPoint(0, 0))),
                               QSizeF(s->target()->size()));
            // The shadow is kept out from under the shape: a repaint that stays inside it, away
            // from the rounded corners (gauge frames, changing texts), has no shadow to draw.
            const QRegion interior =
                Theme::continuousRectInterior(shape.toAlignedRect(), s->style().cornerRadius, 1);
            if (((pe->region() & b.toAlignedRect()) - interior).isEmpty()) continue;
            // Keep the shadow out from under the shape, so translucent fills stay clean.
            QPainterPath outside;
            outside.addRect(b.adjusted(-1, -1, 1, 1));
            outside = outside.subtracted(Theme::continuousRect(shape.adjusted(0.5, 0.5, -0.5, -0.5),
                                                               s->style().cornerRadius));
            p.save();
            p.setClipPath(outside, Qt::IntersectClip);
            Shadow::paint(p, shape, s->style());
            p.restore();
        }
        return true;
    }

  private:
    QWidget* host_;
    QList<QPointer<DropShadow>> shadows_;
};

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
    if (host_) {
        host_->remove(this);
        if (!lastBounds_.isEmpty()) host_->widget()->update(lastBounds_);
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
    return host_ ? host_->widget() : nullptr;
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

    ShadowHost* newHost = chosen ? ShadowHost::of(chosen) : nullptr;
    if (newHost != host_) {
        if (host_) {
            host_->remove(this);
            if (!lastBounds_.isEmpty()) host_->widget()->update(lastBounds_);
        }
        host_ = newHost;
        lastBounds_ = {};
        if (host_) host_->add(this);
    }
    if (host_) {
        const QRect now = boundsInHost().toAlignedRect().adjusted(-1, -1, 1, 1);
        if (now != lastBounds_) {
            host_->widget()->update(lastBounds_.united(now));
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
            if (host_ && !lastBounds_.isEmpty()) {
                host_->widget()->update(lastBounds_);
            }
            break;
        default:
            break;
    }
    return false;
}

}  // namespace orvane
