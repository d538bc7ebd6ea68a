#include "ui/paint/Shadow.h"

#include <QCache>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>
#include <vector>

#include "ui/paint/Theme.h"

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
// Both caches keep the few most recently used entries: a window uses a handful of shapes and
// colours, and a change of scheme or screen leaves the old ones behind for good.
constexpr int kPatchesKept = 16;
constexpr int kTintsKept = 32;

// The returned patch stays valid until the next call.
const NinePatch& patch(qreal radius, qreal blur, qreal dpr) {
    static QCache<QString, NinePatch> cache(kPatchesKept);
    const QString key = QStringLiteral("%1|%2|%3").arg(radius).arg(blur).arg(dpr);
    if (const NinePatch* known = cache.object(key)) return *known;

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
    auto* made = new NinePatch(std::move(np));
    cache.insert(key, made);
    return *made;
}

// The patch in one colour: the patch is black; the colour goes on through composition.
const QPixmap& tinted(const NinePatch& np, const QColor& color) {
    static QCache<QString, QPixmap> cache(kTintsKept);
    const QString key = QStringLiteral("%1|%2").arg(np.pixmap.cacheKey()).arg(color.rgba());
    if (const QPixmap* known = cache.object(key)) return *known;
    auto* pm = new QPixmap(np.pixmap.size());
    pm->fill(Qt::transparent);
    QPainter p(pm);
    p.drawPixmap(0, 0, np.pixmap);
    p.setCompositionMode(QPainter::CompositionMode_SourceIn);
    p.fillRect(pm->rect(), color);
    p.end();
    cache.insert(key, pm);
    return *pm;
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

    const int sc = np.corner;
    const QPixmap& pm = tinted(np, style.color);

    const QRectF target = bounds(shape, style);
    const qreal c = sc / dpr;  // corner size in points
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

}  // namespace orvane
