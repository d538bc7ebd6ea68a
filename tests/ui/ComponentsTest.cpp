// Theme colours and the geometry the components compute.
#include <gtest/gtest.h>
#include <QApplication>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QPainter>
#include <QTest>
#include <QVBoxLayout>
#include <cmath>
#include <limits>

#include "tests/ui/WidgetSpies.h"
#include "ui/components/Card.h"
#include "ui/components/Divider.h"
#include "ui/components/DropShadow.h"
#include "ui/components/InfoRow.h"
#include "ui/components/RingGauge.h"
#include "ui/components/StatChip.h"
#include "ui/components/Text.h"
#include "ui/components/UsageBar.h"
#include "ui/paint/TabularDigits.h"
#include "ui/paint/TextWrap.h"
#include "ui/paint/Theme.h"
#include "ui/widgets/WindowBackground.h"

namespace orvane {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(Theme, UsageColorBoundaries) {
    const struct {
        double fraction;
        Tint tint;
    } cases[] = {
        {0.5999, Tint::green}, {0.6, Tint::yellow}, {0.8499, Tint::yellow},
        {0.85, Tint::red},     {1.2, Tint::red},    {kNaN, Tint::red},
        {-0.3, Tint::green},   {0.0, Tint::green},  {1.0, Tint::red},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fraction);
        EXPECT_EQ(usageTint(c.fraction), c.tint);
        EXPECT_EQ(Theme::usageColor(c.fraction), Theme::color(c.tint));
    }
}

// Every text and mark colour the theme gives reads on every surface it lands on, both schemes.
TEST(Theme, EveryPairingReachesItsContrast) {
    for (bool dark : {false, true}) {
        Theme::setDark(dark);
        for (const Theme::Pairing& p : Theme::pairings())
            EXPECT_GE(Theme::contrast(p.foreground, p.surface), p.minimum)
                << (dark ? "dark " : "light ") << p.what.toStdString();
    }
    Theme::setDark(false);
}

TEST(RingGauge, ArcSpanClampsTheFraction) {
    const struct {
        double fraction;
        double span;
    } cases[] = {{0, 0},     {0.25, 90}, {0.5, 180}, {1, 360},   {1.7, 360},
                 {-0.5, 0},  {kNaN, 0},  {4e-8, 0},  {0.004, 0}, {0.0051, 0.0051 * 360},
                 {0.01, 3.6}};  // an arc that reads "0%" is not drawn
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fraction);
        EXPECT_DOUBLE_EQ(RingGauge::arcSpan(c.fraction), c.span);
    }
}

TEST(RingGauge, HiddenGaugeJumps) {
    RingGauge ring(0.1, "10%", "", Qt::blue);
    ring.setFraction(0.9);
    EXPECT_DOUBLE_EQ(ring.displayedFraction(), 0.9);
    ring.setFraction(-2);
    EXPECT_DOUBLE_EQ(ring.displayedFraction(), 0);
    EXPECT_DOUBLE_EQ(ring.fraction(), -2);
}

TEST(FillBar, FillWidths) {
    const struct {
        double barWidth, fraction, minWidth;
        bool clamped;
        double expected;
    } cases[] = {
        {300, 0, 10, true, 0},        // an empty bar shows no fill at all
        {300, -0.4, 10, true, 0},     // negative: none either
        {300, 0.5, 10, true, 150},    //
        {300, 1.3, 10, true, 300},    // exactly the full width
        {300, kNaN, 10, true, 0},     // not a number counts as 0
        {400, 0.02, 12, false, 12},   // a computed 8 is drawn 12
        {400, 0.5, 12, false, 200},   //
        {400, 1.25, 12, false, 500},  // unclamped: past the track
        {120, 0.01, 4, true, 4},      // an idle core's stub
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fraction);
        EXPECT_DOUBLE_EQ(FillBar::fillWidth(c.barWidth, c.fraction, c.minWidth, c.clamped),
                         c.expected);
    }
}

TEST(UsageBar, ColourFollowsTheRawFractionUnlessTinted) {
    for (double f : {0.0, 0.7, 0.99, 1.3}) {
        EXPECT_EQ(UsageBar::colorFor(f, std::nullopt), Theme::usageColor(f));
        EXPECT_EQ(UsageBar::colorFor(f, Theme::accent()), Theme::accent());
    }
    UsageBar bar("Wired", "2 GB", 0.9, std::nullopt, 8);
    EXPECT_EQ(bar.fillColor(), Theme::color(Tint::red));
    EXPECT_EQ(bar.bar()->barHeight(), 8);
    bar.resize(300, bar.sizeHint().height());
    bar.setFraction(0.5);
    EXPECT_EQ(bar.fillColor(), Theme::color(Tint::green));
}

TEST(StatChip, ShrinksBeforeEliding) {
    const QString shortValue = QStringLiteral("16 GB");
    EXPECT_DOUBLE_EQ(StatChip::fittedValueSize(shortValue, 200), StatChip::kValueSize);
    EXPECT_EQ(StatChip::shownValue(shortValue, 200), shortValue);

    const QString longValue = QStringLiteral("Apple M3 Max with 16-core CPU");
    QFont full = Theme::font(17, QFont::Bold);
    const int natural = QFontMetrics(full).horizontalAdvance(longValue);
    // A width a little short of the natural one: smaller text, nothing cut.
    const qreal snug = natural * 0.85;
    const qreal shrunk = StatChip::fittedValueSize(longValue, snug);
    EXPECT_LT(shrunk, StatChip::kValueSize);
    EXPECT_GE(shrunk, StatChip::kValueSize * StatChip::kMinScale);
    EXPECT_EQ(StatChip::shownValue(longValue, snug), longValue);
    // Far too narrow: the smallest size, then elided on one line.
    const qreal tight = natural * 0.4;
    EXPECT_DOUBLE_EQ(StatChip::fittedValueSize(longValue, tight), std::ceil(17 * 0.7));
    const QString shown = StatChip::shownValue(longValue, tight);
    EXPECT_NE(shown, longValue);
    EXPECT_TRUE(shown.endsWith(QChar(0x2026)));
    EXPECT_FALSE(shown.contains(QLatin1Char('\n')));
}

TEST(InfoRow, LabelColumnIsTheSameInEveryRow) {
    InfoRow withIcon("Model", "MacBook Pro", Symbol::desktop);
    InfoRow otherIcon("Serial Number", "C02XYZ", Symbol::barcode);
    InfoRow noIcon("Model", "MacBook Pro");
    const int w = 400;
    EXPECT_DOUBLE_EQ(withIcon.geometry(w).label.left(), InfoRow::kIconColumn + InfoRow::kSpacing);
    EXPECT_DOUBLE_EQ(otherIcon.geometry(w).label.left(), withIcon.geometry(w).label.left());
    EXPECT_DOUBLE_EQ(noIcon.geometry(w).label.left(), 0);
    EXPECT_TRUE(noIcon.geometry(w).icon.isNull());
    // The value sits at the trailing edge; the row is padded 5 above and below.
    EXPECT_DOUBLE_EQ(noIcon.geometry(w).value.right(), w);
    EXPECT_GE(noIcon.geometry(w).height, QFontMetrics(Theme::font(13)).height() + 10);
}

TEST(InfoRow, LongValueWrapsAtTheTrailingEdgeKeepingTheGap) {
    const QString value = QStringLiteral(
        "A rather long value that cannot possibly fit on one line next to its label in this row");
    InfoRow row("Graphics", value, Symbol::cpu);
    const int w = 320;
    const auto g = row.geometry(w);
    EXPECT_TRUE(g.valueWraps);
    EXPECT_DOUBLE_EQ(g.value.right(), w);
    EXPECT_GE(g.value.left() - g.label.right(), InfoRow::kMinGap);
    EXPECT_GT(g.height, row.geometry(2000).height);
    EXPECT_EQ(row.heightForWidth(w), g.height);
    EXPECT_FALSE(row.geometry(2000).valueWraps);
    // The minimum is one line: the height for the real width comes from heightForWidth.
    EXPECT_EQ(row.minimumSizeHint().height(), row.geometry(2000).height);
    // At most two lines, the rest elided (the tooltip and a click have it in full).
    const auto narrow = row.geometry(200);
    EXPECT_EQ(narrow.valueLines.size(), InfoRow::kMaxValueLines);
    EXPECT_TRUE(narrow.valueElided);
    EXPECT_FALSE(g.valueElided && g.valueLines.size() < InfoRow::kMaxValueLines);
}

TEST(Text, TabularDigitsAndSensibleBreaks) {
    const QFont font = Theme::font(13, QFont::Medium);
    EXPECT_DOUBLE_EQ(TabularDigits::advance(font, "11%"), TabularDigits::advance(font, "88%"));
    EXPECT_DOUBLE_EQ(TabularDigits::advance(font, "1 GB"), TabularDigits::advance(font, "0 GB"));

    // Each text gets a width just short of its one line.
    const QFontMetricsF fm(font);
    const struct {
        const char* text;
        QStringList lines;
    } cases[] = {
        {"9.83 GB of 17.18 GB", {"9.83 GB", "of 17.18 GB"}},              // not "17.18 / GB"
        {"macOS Sonoma 14.5 (23F79)", {"macOS Sonoma", "14.5 (23F79)"}},  // no lone last word
        {"Fedora Linux 40", {"Fedora", "Linux 40"}},
        {"Robins-MacBook-Pro", {"Robins-", "MacBook-Pro"}},
        {"Full 5400 mAh", {"Full", "5400 mAh"}},  // a number keeps its unit
    };
    for (const auto& c : cases) {
        const qreal width = fm.horizontalAdvance(c.text) - 2;
        EXPECT_EQ(TextWrap::lines(c.text, font, width), c.lines) << c.text;
    }
    const QStringList two = TextWrap::lines(QString("word ").repeated(30), font, 80, 2);
    ASSERT_EQ(two.size(), 2);
    EXPECT_TRUE(two[1].endsWith(QChar(0x2026)));
}

TEST(Text, ShrinksBeforeItIsCut) {
    Text count("12345", Theme::font(64, QFont::Bold));
    count.setMinimumScale(0.5);
    count.show();
    EXPECT_LT(count.minimumSizeHint().width(), count.sizeHint().width() * 0.6);
    count.resize(count.sizeHint().width() * 3 / 4, count.sizeHint().height());
    EXPECT_LT(count.fittedFont().pixelSize(), 64);
    EXPECT_FALSE(count.isElided());
    count.resize(count.minimumSizeHint());
    EXPECT_FALSE(count.isElided());
    EXPECT_TRUE(count.toolTip().isEmpty());
    count.resize(10, count.height());  // narrower than the layout would ever make it
    EXPECT_TRUE(count.isElided());
    EXPECT_EQ(count.toolTip(), "12345");
    // A name of megabytes is cut to a few hundred characters before any layout.
    count.setText(QString(2'000'000, QLatin1Char('8')));
    EXPECT_EQ(count.text(), QString(300, QLatin1Char('8')) + QChar(0x2026));
}

// Painting needs no widget: a shadow painted into an image is near solid in the style's colour
// under the middle of the offset shape, fades past its edge and stops at the blur's reach.
TEST(Shadow, PaintsIntoAnImage) {
    QImage image(100, 100, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    const ShadowStyle style{8, QColor(255, 0, 0, 200), 10, {0, 4}};
    Shadow::paint(p, QRectF(30, 30, 40, 40), style);
    p.end();
    const QRgb middle = image.pixel(50, 54);
    EXPECT_GT(qAlpha(middle), 180);
    EXPECT_EQ(qGreen(middle), 0);
    EXPECT_GT(qAlpha(image.pixel(50, 76)), 0);
    EXPECT_LT(qAlpha(image.pixel(50, 76)), 200);
    const QRect reach = Shadow::bounds(QRectF(30, 30, 40, 40), style).toAlignedRect();
    EXPECT_EQ(qAlpha(image.pixel(50, reach.bottom() + 2)), 0);
    EXPECT_EQ(qAlpha(image.pixel(reach.left() - 2, 54)), 0);
}

// At 125 % and 150 % a logical pixel covers one device row or two, by position: every divider
// is drawn as whole device rows of one thickness wherever it lands.
TEST(Divider, SameDeviceThicknessAtEveryPositionAndScale) {
    QWidget host;
    auto* column = new QVBoxLayout(&host);
    column->setContentsMargins(0, 1, 0, 0);
    column->setSpacing(7);
    for (int i = 0; i < 8; ++i)
        column->addWidget(new Divider);
    host.resize(20, 64);
    column->activate();
    for (const qreal scale : {1.0, 1.25, 1.5, 2.0}) {
        QImage image(20 * scale, 64 * scale, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(scale);
        image.fill(Qt::transparent);
        host.render(&image, {}, {}, QWidget::DrawChildren);
        QString rows;  // one letter per device row down the middle: '#' a line, '.' none
        for (int y = 0; y < image.height(); ++y)
            rows += qAlpha(image.pixel(10, y)) ? u'#' : u'.';
        const QStringList lines = rows.split(u'.', Qt::SkipEmptyParts);
        EXPECT_EQ(lines, QStringList(8, QString(int(scale), u'#'))) << scale;
    }
}

TEST(Components, SettersRepaintOnlyOnChange) {
    QWidget host;
    auto* layout = new QVBoxLayout(&host);
    auto* row = new InfoRow("CPU Load", "37%", Symbol::cpu);
    auto* chip = new StatChip(Symbol::cpu, "12", "8P + 4E", Theme::accent());
    auto* ring = new RingGauge(0.37, "37%", "CPU Load", Theme::color(Tint::green));
    auto* bar = new UsageBar("Wired", "2 GB", 0.2, Theme::color(Tint::red));
    for (QWidget* w : {static_cast<QWidget*>(row), static_cast<QWidget*>(chip),
                       static_cast<QWidget*>(ring), static_cast<QWidget*>(bar)})
        layout->addWidget(w);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    QTest::qWait(50);
    PaintSpy rowPaints(row), chipPaints(chip), ringPaints(ring), barPaints(bar->bar());

    for (int i = 0; i < 3; ++i) {
        row->setValue("37%");
        row->setValueColor(std::nullopt);
        chip->setValue("12");
        chip->setCaption("8P + 4E");
        ring->setFraction(0.37);
        ring->setTitle("37%");
        bar->setFraction(0.2);
        bar->setDetail("2 GB");
    }
    QTest::qWait(50);
    EXPECT_EQ(rowPaints.events + chipPaints.events + ringPaints.events + barPaints.events, 0);

    row->setValue("38%");
    chip->setValue("14");
    ring->setTitle("38%");
    QTest::qWait(50);
    EXPECT_GE(rowPaints.events, 1);
    EXPECT_GE(chipPaints.events, 1);
    EXPECT_GE(ringPaints.events, 1);
}

TEST(Components, CardShadowIsPaintedOnAnAncestorWithRoomForIt) {
    QWidget outer;
    auto* outerLayout = new QVBoxLayout(&outer);
    outerLayout->setContentsMargins(22, 22, 22, 22);
    auto* row = new QWidget;  // a tight row: no room for the shadow
    auto* rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    auto* card = new Card;
    card->body()->addWidget(new InfoRow("Model", "Mac"));
    rowLayout->addWidget(card);
    outerLayout->addWidget(row);
    outer.resize(400, 200);
    outer.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&outer));
    QTest::qWait(20);
    auto* shadow = card->findChild<DropShadow*>();
    ASSERT_NE(shadow, nullptr);
    EXPECT_EQ(shadow->host(), &outer);
    const QRectF cardInOuter(QPointF(card->mapTo(&outer, QPoint(0, 0))), QSizeF(card->size()));
    EXPECT_EQ(shadow->boundsInHost(), Shadow::bounds(cardInOuter, shadow->style()));
    // Offset 4 down, blur reaching past every edge.
    EXPECT_GT(shadow->boundsInHost().bottom(), cardInOuter.bottom() + 4);
    EXPECT_LT(shadow->boundsInHost().left(), cardInOuter.left());
}

// A value that refreshes every second must not re-lay out the window while its size holds.
TEST(Text, AsksForALayoutOnlyWhenItsSizeChanges) {
    QWidget host;
    auto* layout = new QVBoxLayout(&host);
    auto* text = new Text("12%");
    auto* wrapped = new Text("short");
    wrapped->setWordWrap(true);
    layout->addWidget(text);
    layout->addWidget(wrapped);
    host.resize(200, 200);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    QTest::qWait(50);
    EventCounter layouts(&host, QEvent::LayoutRequest);
    PaintSpy paints(text);

    // Another percentage that measures the same as "12%" in this font.
    const QFontMetrics fm(text->font());
    QString same;
    for (int v = 13; v < 100 && same.isEmpty(); ++v)
        if (fm.boundingRect(QString("%1%").arg(v)).size() == fm.boundingRect("12%").size())
            same = QString("%1%").arg(v);
    ASSERT_FALSE(same.isEmpty());
    text->setText(same);
    QTest::qWait(50);
    EXPECT_EQ(layouts.count, 0);
    EXPECT_GE(paints.events, 1);
    EXPECT_EQ(text->text(), same);

    text->setText("100.0%");  // wider
    QTest::qWait(50);
    EXPECT_EQ(layouts.count, 1);
    EXPECT_GE(text->width(), fm.horizontalAdvance("100.0%"));

    // A wrapped text that needs another line at its width asks too.
    layouts.count = 0;
    wrapped->setText(QString("word ").repeated(20).trimmed());
    QTest::qWait(50);
    EXPECT_EQ(layouts.count, 1);
    EXPECT_GT(wrapped->height(), fm.height());
}

TEST(Text, SizeHints) {
    Text text("");
    const QFontMetrics fm(text.font());
    // Empty text holds one line's height, so the row does not jump when a value arrives.
    EXPECT_EQ(text.sizeHint(), QSize(0, fm.height()));
    text.setText("Cycle Count");
    const QSize hint = text.sizeHint();
    EXPECT_GT(hint.width(), fm.horizontalAdvance("Cycle Count"));  // never elided at its hint
    // Elided single lines may shrink to a few characters; unelided ones keep their width.
    EXPECT_LT(text.minimumSizeHint().width(), hint.width() / 2);
    text.setElide(false);
    EXPECT_GE(text.minimumSizeHint().width(), hint.width() - 1);
    // A font change is measured again.
    text.setFont(Theme::font(26));
    EXPECT_GT(text.sizeHint().height(), hint.height());

    Text wrapped("one two three four five six seven eight nine ten");
    wrapped.setWordWrap(true);
    EXPECT_TRUE(wrapped.hasHeightForWidth());
    EXPECT_TRUE(wrapped.sizePolicy().hasHeightForWidth());
    EXPECT_GT(wrapped.heightForWidth(60), wrapped.heightForWidth(600));
    EXPECT_LE(wrapped.minimumSizeHint().width(), wrapped.sizeHint().width());
}

// The background keeps a rendered column; it must follow the scheme and the height.
TEST(WindowBackground, MatchesTheGradientAfterSchemeAndSizeChanges) {
    const bool dark = Theme::isDark();
    WindowBackground bg;
    const auto check = [&](int height) {
        bg.resize(120, height);
        const QImage shown = bg.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QImage expected(shown.size(), QImage::Format_RGB32);
        QPainter p(&expected);
        WindowBackground::paint(p, QRectF(0, 0, 120, height));
        p.end();
        EXPECT_EQ(shown, expected) << "height " << height << " dark " << Theme::isDark();
    };
    Theme::setDark(false);
    check(300);
    Theme::setDark(true);
    check(300);
    check(500);
    Theme::setDark(dark);
}

}  // namespace
}  // namespace orvane
