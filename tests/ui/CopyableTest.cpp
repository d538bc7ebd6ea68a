// Click-to-copy: clipboard contents, the "Copied!" badge and its timing, hit area, cursor and
// tooltip.
#include <gtest/gtest.h>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <QVBoxLayout>

#include "ui/components/Copyable.h"
#include "ui/components/InfoRow.h"
#include "ui/components/StatChip.h"
#include "ui/paint/Theme.h"

namespace orvane {
namespace {

class CopyableTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&window_);
        layout->setContentsMargins(20, 40, 20, 20);
        first_ = new InfoRow("Serial Number", "C02ABC123", Symbol::barcode);
        second_ = new InfoRow("Model", "MacBook Pro", Symbol::laptop);
        chip_ = new StatChip(Symbol::memoryChip, "16 GB", "LPDDR5", Theme::color(Tint::blue));
        layout->addWidget(first_);
        layout->addWidget(second_);
        layout->addWidget(chip_);
        window_.resize(420, 260);
        window_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    }

    // Clicks a point of `w` away from its text: the whole frame is the hit area.
    static void clickEdge(QWidget* w) {
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() / 2, 1));
    }

    QWidget window_;
    InfoRow* first_ = nullptr;
    InfoRow* second_ = nullptr;
    StatChip* chip_ = nullptr;
};

TEST_F(CopyableTest, ClickPutsTheValueOnTheClipboardAndShowsTheBadge) {
    Copyable* c = first_->copyable();
    ASSERT_NE(c, nullptr);
    EXPECT_FALSE(c->isCopied());
    EXPECT_EQ(c->badge(), nullptr);
    clickEdge(first_);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("C02ABC123"));
    EXPECT_TRUE(c->isCopied());
    ASSERT_NE(c->badge(), nullptr);
    EXPECT_TRUE(c->badge()->isVisible());
    // Above the row's top-trailing corner, ignoring the mouse.
    const QPoint corner = first_->mapTo(&window_, QPoint(first_->width(), 0));
    EXPECT_EQ(c->badge()->geometry().right() + 1, corner.x());
    EXPECT_LT(c->badge()->geometry().top(), corner.y());
    EXPECT_TRUE(c->badge()->testAttribute(Qt::WA_TransparentForMouseEvents));
    // Hovering shows the pointing hand and the tooltip.
    for (QWidget* w : {static_cast<QWidget*>(first_), static_cast<QWidget*>(chip_)}) {
        EXPECT_EQ(w->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_EQ(w->toolTip(), QStringLiteral("Click to copy"));
    }
    // A value too long to lay out is copied whole.
    second_->setValue(QString(100'000, QLatin1Char('y')));
    second_->copyable()->copy();
    EXPECT_EQ(QGuiApplication::clipboard()->text().size(), 100'000);
}

TEST_F(CopyableTest, TwoRowsClickedInQuickSuccessionKeepTheirOwnBadges) {
    clickEdge(first_);
    QTest::qWait(500);
    clickEdge(second_);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("MacBook Pro"));
    EXPECT_TRUE(first_->copyable()->isCopied());
    EXPECT_TRUE(second_->copyable()->isCopied());
    EXPECT_NE(first_->copyable()->badge(), second_->copyable()->badge());
    // The first hides 1.0 s after its own click, while the second is still showing.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !first_->copyable()->isCopied(); }, 3000));
    EXPECT_TRUE(second_->copyable()->isCopied());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !second_->copyable()->isCopied(); }, 3000));
}

TEST_F(CopyableTest, BadgeGoesOneSecondAfterTheFirstClickEvenIfClickedAgain) {
    Copyable* c = first_->copyable();
    QElapsedTimer clock;
    clock.start();
    c->copy();
    QTest::qWait(600);
    c->copy();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !c->isCopied(); }, 3000));
    // Hidden by the first click's reset, not 1.0 s after the second click.
    EXPECT_GE(clock.elapsed(), Copyable::kResetDelay - 5);
    EXPECT_LT(clock.elapsed(), 1550);
    // After the 0.3 s fade the badge is gone; the second reset later changes nothing.
    EXPECT_TRUE(QTest::qWaitFor([&] { return c->badge() == nullptr; }, 2000));
    QTest::qWait(400);
    EXPECT_FALSE(c->isCopied());
}

TEST_F(CopyableTest, CopiesTheValueShownNowEvenAnEmptyOne) {
    clickEdge(chip_);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("16 GB"));
    chip_->setValue(QStringLiteral("32 GB"));
    clickEdge(chip_);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("32 GB"));
    first_->setValue(QString());
    clickEdge(first_);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString());
    EXPECT_TRUE(first_->copyable()->isCopied());
    EXPECT_NE(first_->copyable()->badge(), nullptr);
}

TEST_F(CopyableTest, PressOutsideOrOtherButtonDoesNotCopy) {
    QTest::mouseClick(first_, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
    // Pressed inside, released outside: no click.
    QTest::mousePress(first_, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(first_, Qt::LeftButton, {}, QPoint(5, first_->height() + 40));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
    EXPECT_FALSE(first_->copyable()->isCopied());
}

TEST(Copyable, AttachingTwiceKeepsOneInstance) {
    QWidget w;
    Copyable* a = copyable(&w, "one");
    Copyable* b = copyable(&w, "two");
    EXPECT_EQ(a, b);
    EXPECT_EQ(b->value(), QStringLiteral("two"));
    EXPECT_EQ(Copyable::of(&w), a);
}

TEST_F(CopyableTest, BadgeGoesWithItsRow) {
    clickEdge(first_);
    QPointer<QWidget> badge = first_->copyable()->badge();
    ASSERT_FALSE(badge.isNull());
    delete first_;  // the page rebuilt its rows while the badge was showing
    first_ = nullptr;
    EXPECT_TRUE(badge.isNull());
}

}  // namespace
}  // namespace orvane
