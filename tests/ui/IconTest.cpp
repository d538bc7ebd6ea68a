// Every symbol name the program uses has an icon, and icons are drawn tinted and cached.
#include <gtest/gtest.h>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QSet>

#include "service/Records.h"
#include "ui/app/Appearance.h"
#include "ui/components/Icon.h"
#include "ui/shell/Section.h"

namespace orvane {
namespace {

QString sourceRoot() {
    return QStringLiteral(ORVANE_FIXTURES "/../..");
}

bool hasVisiblePixels(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0) return true;
    return false;
}

TEST(Icon, EveryKnownSymbolRendersFromItsResource) {
    for (const QString& symbol : Icon::knownSymbols()) {
        SCOPED_TRACE(symbol.toStdString());
        const QString path = Icon::resourcePath(symbol);
        EXPECT_TRUE(QFile::exists(path)) << path.toStdString();
        const QImage image = Icon::pixmap(symbol, 24, Qt::red, 1.0).toImage();
        EXPECT_EQ(image.size(), QSize(24, 24));
        EXPECT_TRUE(hasVisiblePixels(image));
    }
}

TEST(Icon, SymbolsOfTheShellAndTheRecordsHaveIcons) {
    QStringList names;
    for (Section s : allSections())
        names << symbol(s);
    for (Appearance a : allAppearances())
        names << symbol(a);
    names << "sparkle.magnifyingglass"
          << "arrow.clockwise";
    // Every machine icon the hardware record can name.
    for (const char* id : {"MacBookPro18,3", "Macmini9,1", "Mac13,1", "MacStudio", "MacPro7,1",
                           "iMac21,1", "Mac14,3", ""}) {
        for (bool laptop : {true, false}) {
            HardwareInfo hw;
            hw.modelIdentifier = id;
            hw.isLaptop = laptop;
            names << QString::fromStdString(hw.symbol());
        }
    }
    for (const QString& n : names)
        EXPECT_TRUE(Icon::has(n)) << n.toStdString();
}

// Scans the interface sources for symbol names: every dotted lower-case literal, and every
// lower-case word literal on a line that hands an icon to a component.
TEST(Icon, EveryNameInTheSourcesHasAnIcon) {
    static const QRegularExpression literal(
        QStringLiteral("\"([a-z][a-z0-9]*(?:\\.[a-z0-9]+)*)\""));
    static const QRegularExpression iconLine(QStringLiteral(
        "IconView|StatChip|PageHeader|InfoRow|setSymbol|setIcon|Icon::|symbol|icon|Icon\\b"));
    // Words that are not symbols but may share such a line.
    static const QSet<QString> words = {"green",  "yellow", "red",  "blue",       "secondary",
                                        "system", "light",  "dark", "appearance", "primary"};
    int files = 0;
    QStringList missing;
    QDirIterator it(sourceRoot() + QStringLiteral("/ui"),
                    {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        ++files;
        int lineNo = 0;
        for (const QByteArray& raw : f.readAll().split('\n')) {
            ++lineNo;
            const QString line = QString::fromUtf8(raw);
            if (line.trimmed().startsWith(QLatin1String("//")) ||
                line.contains(QLatin1String("#include")))
                continue;
            auto m = literal.globalMatch(line);
            while (m.hasNext()) {
                const QString name = m.next().captured(1);
                const bool dotted = name.contains(QLatin1Char('.'));
                // Our object names and D-Bus names are not symbols.
                if (name.startsWith(QLatin1String("orvane.")) ||
                    name.startsWith(QLatin1String("org.")) ||
                    name.endsWith(QLatin1String(".png")) || name.endsWith(QLatin1String(".svg")))
                    continue;
                if (!dotted && (!iconLine.match(line).hasMatch() || words.contains(name))) continue;
                if (!Icon::has(name))
                    missing
                        << QStringLiteral("%1:%2 \"%3\"").arg(f.fileName()).arg(lineNo).arg(name);
            }
        }
    }
    EXPECT_GT(files, 10);
    EXPECT_TRUE(missing.isEmpty()) << missing.join(QLatin1Char('\n')).toStdString();
}

TEST(Icon, TintedCachedAndSizedForTheDevicePixelRatio) {
    const QImage red = Icon::pixmap("cpu", 20, Qt::red, 1.0).toImage();
    bool sawRed = false;
    for (int y = 0; y < red.height() && !sawRed; ++y)
        for (int x = 0; x < red.width(); ++x) {
            const QColor c = QColor::fromRgba(red.pixel(x, y));
            if (c.alpha() == 255) {
                EXPECT_EQ(c.rgb(), QColor(Qt::red).rgb());
                sawRed = true;
                break;
            }
        }
    EXPECT_TRUE(sawRed);

    const int before = Icon::cacheSize();
    Icon::pixmap("cpu", 20, Qt::red, 1.0);
    EXPECT_EQ(Icon::cacheSize(), before);
    Icon::pixmap("cpu", 20, Qt::blue, 1.0);
    Icon::pixmap("cpu", 20, Qt::red, 2.0);
    Icon::pixmap("cpu", 20, Qt::red, 1.0, QFont::Bold);
    EXPECT_EQ(Icon::cacheSize(), before + 3);

    const QPixmap hidpi = Icon::pixmap("cpu", 20, Qt::red, 2.0);
    EXPECT_EQ(hidpi.size(), QSize(40, 40));
    EXPECT_DOUBLE_EQ(hidpi.devicePixelRatio(), 2.0);
}

TEST(Icon, UnknownNameDrawsNothing) {
    EXPECT_FALSE(Icon::has("no.such.symbol"));
    EXPECT_TRUE(Icon::resourcePath("no.such.symbol").isEmpty());
    EXPECT_FALSE(hasVisiblePixels(Icon::pixmap("no.such.symbol", 16, Qt::black, 1.0).toImage()));
}

}  // namespace
}  // namespace orvane
