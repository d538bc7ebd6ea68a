#include "ui/components/PageHeader.h"

#include <QPainter>

#include "ui/components/Accessible.h"
#include "ui/components/TabStop.h"
#include "ui/paint/Icon.h"

namespace orvane {
namespace {
QFont titleFont() {
    return Theme::font(24, QFont::Bold);
}
QFont subtitleFont() {
    return Theme::font(13);
}
}  // namespace

PageHeader::PageHeader(const QString& title, const QString& subtitle, Symbol symbol,
                       const QColor& tint, QWidget* parent)
    : QWidget(parent), title_(title), subtitle_(subtitle), symbol_(symbol), tint_(tint) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // The page's heading, the first stop of the page: "Storage, 2 volumes".
    TabStop::attach(this)->setName(
        [this] { return subtitle_.isEmpty() ? title_ : title_ + QStringLiteral(", ") + subtitle_; },
        QAccessible::Heading);
}

void PageHeader::setTitle(const QString& title) {
    if (title == title_) return;
    title_ = title;
    updateGeometry();
    update();
    Accessible::nameChanged(this);
}

void PageHeader::setSubtitle(const QString& subtitle) {
    if (subtitle == subtitle_) return;
    subtitle_ = subtitle;
    updateGeometry();
    update();
    Accessible::nameChanged(this);
}

void PageHeader::setSymbol(Symbol symbol) {
    if (symbol == symbol_) return;
    symbol_ = symbol;
    update();
}

void PageHeader::setTint(const QColor& tint) {
    if (tint == tint_) return;
    tint_ = tint;
    update();
}

QSize PageHeader::sizeHint() const {
    const QFontMetrics tf(titleFont()), sf(subtitleFont());
    const int textW = std::max(tf.horizontalAdvance(title_), sf.horizontalAdvance(subtitle_));
    const int textH = tf.height() + 2 + sf.height();
    return {kTileSize + kSpacing + textW, std::max(kTileSize, textH)};
}

QSize PageHeader::minimumSizeHint() const {
    return {kTileSize + kSpacing + 40, sizeHint().height()};
}

void PageHeader::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal midY = height() / 2.0;

    const QRectF tile(0, midY - kTileSize / 2.0, kTileSize, kTileSize);
    p.fillPath(Theme::continuousRect(tile, kTileRadius), Theme::gradient(tint_, tile));
    const qreal box = Icon::boxSize(22);
    Icon::paint(p, QRectF(tile.center().x() - box / 2, tile.center().y() - box / 2, box, box),
                symbol_, Qt::white, QFont::DemiBold);

    const QFontMetrics tf(titleFont()), sf(subtitleFont());
    const qreal x = kTileSize + kSpacing;
    const int w = std::max(0, width() - static_cast<int>(x));
    const qreal textH = tf.height() + 2 + sf.height();
    qreal y = midY - textH / 2;
    p.setFont(titleFont());
    p.setPen(Theme::primary());
    p.drawText(QRectF(x, y, w, tf.height()), Qt::AlignLeft | Qt::AlignVCenter,
               tf.elidedText(title_, Qt::ElideRight, w));
    y += tf.height() + 2;
    p.setFont(subtitleFont());
    p.setPen(Theme::secondary());
    p.drawText(QRectF(x, y, w, sf.height()), Qt::AlignLeft | Qt::AlignVCenter,
               sf.elidedText(subtitle_, Qt::ElideRight, w));
}

}  // namespace orvane
