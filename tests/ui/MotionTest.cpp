// The shared frame clock, eased motions and what each animation frame repaints.
#include <gtest/gtest.h>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <cmath>
#include <initializer_list>
#include <vector>

#include "tests/ui/WidgetSpies.h"
#include "ui/components/Card.h"
#include "ui/components/FrameClock.h"
#include "ui/components/Motion.h"
#include "ui/components/RingGauge.h"
#include "ui/components/UsageBar.h"
#include "ui/paint/Theme.h"
#include "ui/widgets/CoreGrid.h"

namespace orvane {
namespace {

// A clock whose time the test sets; frames run when the test calls at(). `global`: the
// program-wide clock the widgets use, with animations on.
struct ManualClock {
    qint64 now = 0;
    FrameClock own;
    const bool global;
    FrameClock& clock;
    const bool animations = Theme::animationsEnabled();
    explicit ManualClock(bool global = false)
        : global(global), clock(global ? FrameClock::instance() : own) {
        if (global) Theme::setAnimationsEnabled(true);
        clock.setTimeSource([this] { return now; });
    }
    ~ManualClock() {
        if (!global) return;
        clock.setTimeSource({});
        Theme::setAnimationsEnabled(animations);
    }
    void at(qint64 ms) {
        now = ms;
        clock.tick();
    }
    // Runs `count` frames a frame interval apart, delivering the repaints of each.
    void frames(int count) {
        for (int i = 0; i < count; ++i) {
            at(now + FrameClock::kFrameMs);
            QCoreApplication::processEvents();
        }
    }
};

TEST(FrameClock, ServesOnlyWhatIsDue) {
    ManualClock mc;
    FrameClock& clock = mc.clock;
    EXPECT_FALSE(clock.isTicking());
    std::vector<qint64> calls;
    int key = 0;
    clock.subscribe(
        &key,
        [&](qint64 now) -> std::optional<qint64> {
            calls.push_back(now);
            if (calls.size() == 3) return std::nullopt;
            return now + 100;
        },
        100);
    EXPECT_TRUE(clock.isTicking());
    mc.at(50);  // not due yet
    EXPECT_TRUE(calls.empty());
    mc.at(90);  // due within half a frame: served now, with whatever else is due
    mc.at(150);
    mc.at(189);
    mc.at(400);  // third call asks to stop
    EXPECT_EQ(calls, (std::vector<qint64>{90, 189, 400}));
    EXPECT_FALSE(clock.isSubscribed(&key));
    EXPECT_FALSE(clock.isTicking());
}

TEST(FrameClock, NeverFasterThanThirtyFramesASecond) {
    FrameClock clock;
    int calls = 0;
    int key = 0;
    // Always due at once: the clock alone limits the rate.
    clock.subscribe(
        &key, [&](qint64 now) -> std::optional<qint64> { return ++calls < 1000 ? now : 0; },
        clock.now());
    QTest::qWait(330);
    clock.unsubscribe(&key);
    EXPECT_GE(calls, 1);
    EXPECT_LE(calls, 330 / FrameClock::kFrameMs + 1);
    EXPECT_FALSE(clock.isTicking());
}

TEST(FrameClock, CallbacksMayChangeTheSubscriptionsWhileTicking) {
    ManualClock mc;
    FrameClock& clock = mc.clock;
    int a = 0, b = 0, c = 0;
    std::vector<char> order;
    // `a` removes `b` before it runs and adds `c`, which first runs on the next tick.
    clock.subscribe(
        &a,
        [&](qint64) -> std::optional<qint64> {
            order.push_back('a');
            clock.unsubscribe(&b);
            clock.subscribe(
                &c,
                [&](qint64) -> std::optional<qint64> {
                    order.push_back('c');
                    return std::nullopt;
                },
                0);
            return std::nullopt;
        },
        0);
    clock.subscribe(
        &b,
        [&](qint64 now) -> std::optional<qint64> {
            order.push_back('b');
            return now;
        },
        0);
    mc.at(10);
    EXPECT_EQ(order, (std::vector<char>{'a'}));
    EXPECT_EQ(clock.subscriberCount(), 1);
    mc.at(50);
    EXPECT_EQ(order, (std::vector<char>{'a', 'c'}));
    EXPECT_FALSE(clock.isTicking());

    // A callback that re-subscribes itself under its own key keeps the new callback.
    int d = 0, runs = 0;
    FrameClock::Frame again = [&](qint64) -> std::optional<qint64> {
        ++runs;
        clock.subscribe(&d, again, 0);
        return std::nullopt;
    };
    clock.subscribe(&d, again, 0);
    mc.at(100);
    EXPECT_TRUE(clock.isSubscribed(&d));
    clock.unsubscribe(&d);
    EXPECT_EQ(runs, 1);
}

TEST(Motion, EaseOutCurve) {
    // Clamped to [0, 1]; fast start, gentle finish: half-way in time, seven eighths of the way.
    for (auto [t, v] : {std::pair{0.0, 0.0}, {1.0, 1.0}, {0.5, 0.875}, {-1.0, 0.0}, {2.0, 1.0}})
        EXPECT_DOUBLE_EQ(Motion::easeOut(t), v) << t;
    double last = 0;
    for (int i = 1; i <= 100; ++i) {
        const double v = Motion::easeOut(i / 100.0);
        EXPECT_GT(v, last);
        last = v;
    }
}

TEST(Motion, JumpsWhenTheChangeWouldNotReadAsMotion) {
    ManualClock mc;
    std::vector<std::pair<double, double>> repaints;
    Motion m(
        500, [&](double from, double to) { repaints.emplace_back(from, to); }, &mc.clock);
    const struct {
        double target, pixelsPerUnit;
        bool animate, expectRunning;
    } cases[] = {
        {0.004, 200, true, false},   // 0.8 px: under a pixel, jumps
        {0.0139, 200, true, false},  // 1.98 px from 0.004: too small to read as motion, jumps
        {0.030, 200, true, true},    // 3.2 px from 0.0139: animates
        {0.5, 200, false, false},    // animation not wanted: jumps
        {0.6, 0, true, false},       // nothing on screen to move
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        m.moveTo(c.target, c.pixelsPerUnit, c.animate);
        EXPECT_EQ(m.isRunning(), c.expectRunning);
        EXPECT_EQ(mc.clock.isSubscribed(&m), c.expectRunning);
        EXPECT_DOUBLE_EQ(m.target(), c.target);
        if (!c.expectRunning) {
            EXPECT_DOUBLE_EQ(m.value(), c.target);
            ASSERT_FALSE(repaints.empty());
            EXPECT_DOUBLE_EQ(repaints.back().second, c.target);
        }
    }
    m.setDuration(0);
    m.moveTo(1, 200);
    EXPECT_FALSE(m.isRunning());
    EXPECT_DOUBLE_EQ(m.value(), 1);
    m.moveTo(std::nan(""), 200, false);  // not a number counts as 0
    EXPECT_DOUBLE_EQ(m.value(), 0);
}

TEST(Motion, SkipsFramesThatMoveLessThanAPixel) {
    ManualClock mc;
    std::vector<double> shown;
    Motion m(
        500, [&](double, double to) { shown.push_back(to); }, &mc.clock);
    // 0 to 0.1 of 100 px: a 10 px sweep, ticked every millisecond.
    m.moveTo(0.1, 100);
    // Within a pixel of the target (ease-out past 0.9, 268 ms) it lands and stops the clock.
    for (qint64 t = 1; t <= 270; ++t)
        mc.at(t);
    EXPECT_FALSE(m.isRunning());
    EXPECT_FALSE(mc.clock.isTicking());
    ASSERT_FALSE(shown.empty());
    EXPECT_LE(shown.size(), 11u);  // at most one frame per pixel (and the last)
    EXPECT_DOUBLE_EQ(shown.back(), 0.1);
    EXPECT_FALSE(m.isRunning());
    double last = 0;
    for (std::size_t i = 0; i + 1 < shown.size(); ++i) {
        EXPECT_GE((shown[i] - last) * 100, Motion::kMinStepPx - 1e-9);
        last = shown[i];
    }
}

TEST(Motion, RetargetingStartsFromWhereItIs) {
    ManualClock mc;
    Motion m(400, {}, &mc.clock);
    m.moveTo(1, 300);
    mc.at(200);
    const double midway = m.value();
    EXPECT_NEAR(midway, 0.875, 1e-9);
    m.moveTo(0, 300);  // back down, from the current value, a full duration again
    EXPECT_DOUBLE_EQ(m.value(), midway);
    mc.at(400);
    EXPECT_NEAR(m.value(), midway * (1 - 0.875), 1e-9);
    mc.at(600);
    EXPECT_DOUBLE_EQ(m.value(), 0);
    EXPECT_FALSE(mc.clock.isTicking());
}

TEST(Motion, DestroyedWhileRunningLeavesTheClock) {
    ManualClock mc;
    {
        Motion m(500, {}, &mc.clock);
        m.moveTo(1, 100);
        EXPECT_TRUE(mc.clock.isTicking());
    }
    EXPECT_FALSE(mc.clock.isTicking());
    mc.at(100);  // nothing left to call
}

TEST(RingGauge, AnimationFramesRepaintOnlyTheSweptPart) {
    ManualClock gc(true);
    QWidget host;
    auto* ring = new RingGauge(0.25, "25%", "CPU Load", Qt::blue, 150, &host);
    ring->resize(ring->sizeHint());
    host.resize(200, 200);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    PaintSpy spy(ring);
    spy.reset();
    ring->setFraction(0.5);  // 3 to 6 o'clock
    for (qint64 t = 33; t <= 528; t += 33) {
        gc.at(t);
        QCoreApplication::processEvents();
    }
    EXPECT_DOUBLE_EQ(ring->displayedFraction(), 0.5);
    EXPECT_GT(spy.events, 0);
    EXPECT_LE(spy.events, 16);  // one per frame at most
    const QRect swept = RingGauge::sweepRect(ring->ringRect(), 90, 180).toAlignedRect();
    EXPECT_TRUE(swept.contains(spy.painted.boundingRect()));
    // Each frame touches a small patch around the arc's end, never the whole gauge.
    const int whole = ring->width() * ring->height();
    EXPECT_LT(spy.largestArea, whole / 4);

    // A new title repaints the texts, not the ring.
    spy.reset();
    ring->setTitle("50%");
    QCoreApplication::processEvents();
    EXPECT_TRUE(ring->textRect().toAlignedRect().contains(spy.painted.boundingRect()));
}

// What is on screen after partial repaints must equal a full fresh rendering: a dirty rectangle
// that misses a changed pixel leaves a trace of an earlier frame behind.
QImage onScreen(QWidget& window) {
    QCoreApplication::processEvents();
    return window.screen()
        ->grabWindow(window.winId())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}
QImage rendered(QWidget& window) {
    return window.grab().toImage().convertToFormat(QImage::Format_RGB32);
}
// Shows `w` alone in an opaque window, then after each change and its frames compares what is
// on screen with a fresh rendering.
template <class W, class Change>
void expectNoTraces(ManualClock& gc, W* w, QSize size, std::initializer_list<double> targets,
                    Change change) {
    QWidget host;
    host.setAutoFillBackground(true);
    w->setParent(&host);
    w->resize(size);
    host.resize(size);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    ASSERT_EQ(onScreen(host), rendered(host));
    for (double target : targets) {
        SCOPED_TRACE(target);
        change(target);
        gc.frames(20);
        ASSERT_FALSE(w->isAnimating());
        EXPECT_EQ(onScreen(host), rendered(host));
    }
}

TEST(Animations, PartialRepaintsLeaveNoTraces) {
    ManualClock gc(true);
    // Up past 12 o'clock to a closed ring, back down to nothing, and a few small steps.
    auto* ring = new RingGauge(0.05, "5%", "CPU Load", Qt::darkGreen, 150);
    expectNoTraces(gc, ring, ring->sizeHint(), {0.6, 1.2, 0.97, 0.0, 0.33, 0.34, 0.31, 0.8},
                   [&](double f) { ring->setFraction(f); });
    // Colour changes with the level (no tint), a dot at 0, past the end at 1.4.
    auto* bar = new FillBar;
    expectNoTraces(gc, bar, {240, 10}, {0.7, 0.02, 0.9, 1.4, 0.0, 0.5, 0.503},
                   [&](double f) { bar->setFraction(f); });
    // Two cores moving apart and back.
    auto* grid = new CoreGrid;
    LiveMetrics live;
    expectNoTraces(gc, grid, {300, 60}, {0.0, 0.7, 0.71, 0.02, 1.0}, [&](double f) {
        live.perCore = {f, 1.0 - f};
        grid->setCells(PerformanceModel::coreCells(live));
    });
}

// Moves `w` to `to`: it starts where it was and arrives after `duration` ms with the cubic
// ease-out; `tiny` more is too small a change to read as motion and jumps.
template <class Gauge>
void expectSweep(ManualClock& gc, Gauge* w, double to, int duration, double tiny) {
    const double from = w->displayedFraction();
    const qint64 start = gc.now;
    w->setFraction(to);
    EXPECT_DOUBLE_EQ(w->fraction(), to);
    EXPECT_DOUBLE_EQ(w->displayedFraction(), from);
    gc.at(start + duration / 2);
    EXPECT_NEAR(w->displayedFraction(), from + (to - from) * 0.875, 1e-9);
    EXPECT_TRUE(w->isAnimating());
    gc.at(start + duration);
    EXPECT_FALSE(w->isAnimating());
    EXPECT_DOUBLE_EQ(w->displayedFraction(), to);
    w->setFraction(to + tiny);
    EXPECT_FALSE(w->isAnimating());
    EXPECT_DOUBLE_EQ(w->displayedFraction(), to + tiny);
}

TEST(Animations, GaugesSweepWithTheEaseOutAndJumpSmallChanges) {
    ManualClock gc(true);
    QWidget host;
    auto* ring = new RingGauge(0.2, "20%", "Load", Qt::blue, 150, &host);
    auto* bar = new FillBar(&host);
    bar->resize(200, 10);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    EXPECT_EQ(bar->animationDuration(), 400);
    // The ring's circumference is 150π ≈ 471 px: 0.006 moves its end 2.8 px; 0.01 of the bar
    // is 2 px.
    expectSweep(gc, ring, 0.8, 500, -0.006);
    expectSweep(gc, bar, 0.5, 400, 0.01);
    bar->setAnimationDuration(0);
    bar->setFraction(0.25);
    EXPECT_DOUBLE_EQ(bar->currentFillWidth(), 50);
}

TEST(FillBar, ChangedRectReachesBackOverTheRoundedEnd) {
    const struct {
        double from, to;
        int height;
        QRectF expected;
    } cases[] = {
        {100, 150, 10, QRectF(89, 0, 62, 10)},
        {150, 100, 10, QRectF(89, 0, 62, 10)},
        {10, 12, 10, QRectF(0, 0, 13, 10)},  // near the start: from the leading edge
        {4, 30, 8, QRectF(0, 0, 31, 8)},     // a stub narrower than the bar is high
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.from);
        EXPECT_EQ(FillBar::changedRect(c.from, c.to, c.height), c.expected);
    }
    EXPECT_TRUE(FillBar::changedRect(80, 80, 10).isEmpty());
}

TEST(Card, RepaintsInsideTheCardKeepItsShadowIntact) {
    QWidget host;
    host.setAutoFillBackground(true);
    host.resize(260, 200);
    auto* card = new Card(&host);
    card->setGeometry(30, 30, 200, 140);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    // Inside (no shadow to draw), over a rounded corner, and across the edge into the shadow.
    for (const QRect& r : {QRect(80, 60, 40, 40), QRect(0, 0, 30, 30), QRect(150, 100, 80, 80)}) {
        SCOPED_TRACE(r.x());
        card->repaint(r);
        host.repaint(r.translated(30, 30));
        EXPECT_EQ(onScreen(host), rendered(host));
    }
}

TEST(CoreGrid, SmallChangesJumpAndFramesRepaintOnlyTheMovingBar) {
    ManualClock gc(true);
    QWidget host;
    auto* grid = new CoreGrid(&host);
    grid->resize(600, 100);
    host.resize(600, 100);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    LiveMetrics live;
    live.perCore = {0.5, 0.5};
    grid->setCells(PerformanceModel::coreCells(live));
    const double barWidth = CoreGrid::barRect(grid->cellRect(0)).width();
    ASSERT_GT(barWidth, 100);

    // Under three points of load: jumps, though on this bar that is over three pixels.
    ASSERT_GT(0.025 * barWidth, Motion::kMinAnimatedPx);
    live.perCore = {0.525, 0.5};
    grid->setCells(PerformanceModel::coreCells(live));
    EXPECT_FALSE(grid->isAnimating());
    EXPECT_DOUBLE_EQ(grid->shownFractions()[0], 0.525);

    PaintSpy spy(grid);
    spy.reset();
    live.perCore = {0.525, 0.9};
    grid->setCells(PerformanceModel::coreCells(live));
    EXPECT_TRUE(grid->isAnimating());
    QCoreApplication::processEvents();
    // The text changed: the second cell is repainted whole, the first not at all.
    EXPECT_FALSE(spy.painted.intersects(grid->cellRect(0).toAlignedRect()));
    spy.reset();
    gc.at(100);
    QCoreApplication::processEvents();
    const QRectF bar = CoreGrid::barRect(grid->cellRect(1));
    EXPECT_TRUE(bar.toAlignedRect().contains(spy.painted.boundingRect()));
    EXPECT_GT(grid->shownFractions()[1], 0.5);
    gc.at(400);
    EXPECT_FALSE(grid->isAnimating());
    EXPECT_DOUBLE_EQ(grid->shownFractions()[1], 0.9);
}

}  // namespace
}  // namespace orvane
