// Every symbol has an icon, and icons are drawn tinted and cached.
#include <gtest/gtest.h>
#include <QFile>
#include <QImage>

#include "ui/paint/Icon.h"

namespace orvane {
namespace {

bool hasVisiblePixels(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0) return true;
    return false;
}

TEST(Icon, EverySymbolRendersFromItsResource) {
    for (Symbol symbol : allSymbols()) {
        SCOPED_TRACE(static_cast<int>(symbol));
        const QString path = Icon::resourcePath(symbol);
        EXPECT_TRUE(QFile::exists(path)) << path.toStdString();
        const QImage image = Icon::pixmap(symbol, 24, Qt::red, 1.0).toImage();
        EXPECT_EQ(image.size(), QSize(24, 24));
        EXPECT_TRUE(hasVisiblePixels(image));
    }
    EXPECT_TRUE(Icon::resourcePath(Symbol::none).isEmpty());
    EXPECT_FALSE(hasVisiblePixels(Icon::pixmap(Symbol::none, 16, Qt::black, 1.0).toImage()));
}

TEST(Icon, TintedCachedAndSizedForTheDevicePixelRatio) {
    // Every opaque pixel has the tint.
    const QImage red = Icon::pixmap(Symbol::cpu, 20, Qt::red, 1.0).toImage();
    int opaque = 0;
    for (int y = 0; y < red.height(); ++y)
        for (int x = 0; x < red.width(); ++x) {
            if (qAlpha(red.pixel(x, y)) < 255) continue;
            ++opaque;
            EXPECT_EQ(QColor(red.pixel(x, y)).rgb(), QColor(Qt::red).rgb());
        }
    EXPECT_GT(opaque, 0);

    const int before = Icon::cacheSize();
    Icon::pixmap(Symbol::cpu, 20, Qt::red, 1.0);
    EXPECT_EQ(Icon::cacheSize(), before);
    Icon::pixmap(Symbol::cpu, 20, Qt::blue, 1.0);
    Icon::pixmap(Symbol::cpu, 20, Qt::red, 2.0);
    Icon::pixmap(Symbol::cpu, 20, Qt::red, 1.0, QFont::Bold);
    EXPECT_EQ(Icon::cacheSize(), before + 3);

    const QPixmap hidpi = Icon::pixmap(Symbol::cpu, 20, Qt::red, 2.0);
    EXPECT_EQ(hidpi.size(), QSize(40, 40));
    EXPECT_DOUBLE_EQ(hidpi.devicePixelRatio(), 2.0);
}

}  // namespace
}  // namespace orvane
