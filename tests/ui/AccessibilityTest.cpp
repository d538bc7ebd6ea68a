// Keyboard and screen-reader access, through Qt's own accessibility API on the real widgets:
// what each kind of element says, that every value of every page is a stop with a name, and a
// walk through the window with the keyboard alone. (tests/a11y walks it over AT-SPI.)
#include <gtest/gtest.h>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QMainWindow>
#include <QSettings>
#include <QTest>

#include "service/platform/ReplayPlatform.h"
#include "ui/app/MotionPreference.h"
#include "ui/app/OrvaneApp.h"
#include "ui/components/Card.h"
#include "ui/components/Copyable.h"
#include "ui/components/FocusRing.h"
#include "ui/components/InfoRow.h"
#include "ui/components/PageHeader.h"
#include "ui/components/PlainButton.h"
#include "ui/components/RingGauge.h"
#include "ui/components/SegmentedPicker.h"
#include "ui/components/StatChip.h"
#include "ui/components/TabStop.h"
#include "ui/components/Text.h"
#include "ui/components/UsageBar.h"
#include "ui/pages/AboutView.h"
#include "ui/shell/ContentView.h"
#include "ui/shell/SidebarList.h"
#include "ui/widgets/CapsuleBadge.h"
#include "ui/widgets/HeroBanner.h"
#include "ui/widgets/RowList.h"

namespace orvane {
namespace {

QString nameOf(QAccessibleInterface* i) {
    return i ? i->text(QAccessible::Name) : QStringLiteral("<no interface>");
}

TEST(Accessibility, EachKindOfElementSaysWhatItShows) {
    QWidget host;
    auto* row =
        new InfoRow(QStringLiteral("Serial Number"), QStringLiteral("C02XYZ"), {}, {}, &host);
    auto* chip = new StatChip(Symbol::none, QStringLiteral("10"), QStringLiteral("CPU Cores"),
                              Qt::blue, &host);
    auto* tile = new StatChip(Symbol::none, QStringLiteral("32 GB"), QStringLiteral("LPDDR5"),
                              Qt::blue, &host);
    tile->setWhat(QStringLiteral("Memory"));
    auto* header = new PageHeader(QStringLiteral("Storage"), QStringLiteral("2 volumes"), {});
    header->setParent(&host);
    auto* rated =
        new UsageBar({}, QStringLiteral("212 / 1000 rated"), 0.212, std::nullopt, 8, &host);
    auto* ring = new RingGauge(0.58, QStringLiteral("58%"), QStringLiteral("CPU Load"), Qt::green,
                               150, &host);
    auto* bar = new UsageBar(QStringLiteral("Memory"), QStringLiteral("8 GB of 16 GB"), 0.504,
                             std::nullopt, 10, &host);
    auto* overfull = new UsageBar(QStringLiteral("Swap"), {}, 1.7, std::nullopt, 10, &host);
    auto* badge = new CapsuleBadge(QStringLiteral("Startup"), Tint::accent, 10, QFont::Bold, 7, 2,
                                   0.15, &host);
    auto* text = new Text(QStringLiteral("Battery"), Theme::font(13), TextStyle::primary, &host);
    auto* hero = new HeroBanner(&host);
    hero->setHero({Symbol::laptop, "MacBook Pro", "Apple M3", {"macOS Sonoma 14.5"}});

    struct Case {
        QWidget* widget;
        QAccessible::Role role;
        QString name, description;
        int value;  // -1: no value interface
    } cases[] = {
        {row, QAccessible::Button, "Serial Number: C02XYZ", "Click to copy", -1},
        {chip, QAccessible::Button, "CPU Cores: 10", "Click to copy", -1},
        {tile, QAccessible::Button, "Memory: 32 GB, LPDDR5", "Click to copy", -1},
        {header, QAccessible::Heading, "Storage, 2 volumes", "", -1},
        // The percentage is the value alone, so it is heard once.
        {ring, QAccessible::ProgressBar, "CPU Load", "", 58},
        {bar->bar(), QAccessible::ProgressBar, "Memory: 8 GB of 16 GB", "", 50},
        {overfull->bar(), QAccessible::ProgressBar, "Swap", "", 100},
        {rated->bar(), QAccessible::ProgressBar, "212 / 1000 rated", "", 21},
        {badge, QAccessible::StaticText, "Startup", "", -1},
        {text, QAccessible::StaticText, "Battery", "", -1},
        {hero, QAccessible::Heading, "MacBook Pro, Apple M3, macOS Sonoma 14.5", "", -1},
    };
    for (const Case& c : cases) {
        QAccessibleInterface* i = QAccessible::queryAccessibleInterface(c.widget);
        ASSERT_TRUE(i) << c.name.toStdString();
        SCOPED_TRACE(c.name.toStdString());
        EXPECT_EQ(i->role(), c.role);
        EXPECT_EQ(i->text(QAccessible::Name), c.name);
        EXPECT_EQ(i->text(QAccessible::Description), c.description);
        QAccessibleValueInterface* v = i->valueInterface();
        ASSERT_EQ(v != nullptr, c.value >= 0);
        if (v) {
            EXPECT_EQ(v->currentValue().toInt(), c.value);
            EXPECT_EQ(v->minimumValue().toInt(), 0);
            EXPECT_EQ(v->maximumValue().toInt(), 100);
        }
    }

    // Pressing a value copies it, like a click, and says so without renaming the value.
    QAccessibleInterface* ri = QAccessible::queryAccessibleInterface(row);
    ri->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("C02XYZ"));
    EXPECT_TRUE(row->copyable()->isCopied());
    EXPECT_EQ(nameOf(ri), QStringLiteral("Serial Number: C02XYZ"));
}

TEST(Accessibility, SidebarIsAListAndThePickerARadioGroup) {
    SidebarList list;
    list.setSelection(Section::storage);
    SegmentedPicker picker({{"system", "Auto"}, {"light", "Light"}});
    picker.setCurrentKey(QStringLiteral("light"));

    struct Case {
        QWidget* widget;
        QAccessible::Role role, itemRole;
        int count, current;
        QString currentName;
    } cases[] = {
        {&list, QAccessible::List, QAccessible::ListItem, 6, 2, "Storage"},
        {&picker, QAccessible::Grouping, QAccessible::RadioButton, 2, 1, "Light"},
    };
    for (const Case& c : cases) {
        QAccessibleInterface* i = QAccessible::queryAccessibleInterface(c.widget);
        SCOPED_TRACE(c.currentName.toStdString());
        EXPECT_EQ(i->role(), c.role);
        ASSERT_EQ(i->childCount(), c.count);
        for (int k = 0; k < c.count; ++k) {
            QAccessibleInterface* item = i->child(k);
            EXPECT_EQ(item->role(), c.itemRole);
            EXPECT_EQ(i->indexOfChild(item), k);
            EXPECT_EQ(item->parent(), i);
            const QAccessible::State s = item->state();
            EXPECT_EQ(s.selected || s.checked, k == c.current) << k;
            if (k == c.current) {
                EXPECT_EQ(nameOf(item), c.currentName);
            }
        }
        // Choosing through the interface changes the widget.
        i->child(0)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        EXPECT_TRUE(i->child(0)->state().selected || i->child(0)->state().checked);
    }
    EXPECT_EQ(list.selection(), Section::overview);
}

class KeyboardTest : public ::testing::Test {
  protected:
    void SetUp() override {
        app_ = std::make_unique<OrvaneApp>(
            std::make_shared<ReplayPlatform>(ORVANE_FIXTURES "/mac-portable"));
        app_->showMainWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(app_->mainWindow()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return app_->svc()->loaded(); }, 10000));
        QApplication::processEvents();
    }
    ContentView* view() { return app_->contentView(); }
    std::unique_ptr<OrvaneApp> app_;
};

// Every page: each stop takes the keyboard focus and has a name; the page's heading comes
// first, and what is only read (gauges, badges, volumes) is a stop as much as what is copied.
TEST_F(KeyboardTest, EveryStopCanTakeFocusAndHasAName) {
    for (Section s : allSections()) {
        view()->setSelection(s);
        QApplication::processEvents();
        const QList<QWidget*> stops = TabStop::stopsIn(view()->currentPage());
        SCOPED_TRACE(rawValue(s).toStdString());
        ASSERT_GT(stops.size(), Copyable::valuesIn(view()->currentPage()).size());
        EXPECT_EQ(QAccessible::queryAccessibleInterface(stops.first())->role(),
                  QAccessible::Heading);
        for (QWidget* w : stops) {
            const QString name = nameOf(QAccessible::queryAccessibleInterface(w));
            EXPECT_TRUE(w->focusPolicy() & Qt::TabFocus) << name.toStdString();
            EXPECT_FALSE(name.isEmpty() || name.endsWith(QLatin1String(": ")))
                << "'" << name.toStdString() << "' for " << w->metaObject()->className();
        }
    }
}

TEST_F(KeyboardTest, WalkThroughTheWindowWithTheKeyboard) {
    QMainWindow* window = app_->mainWindow();
    QApplication::setActiveWindow(window);
    view()->sidebarList()->setFocus();
    const QList<QWidget*> chain = view()->tabChain();
    ASSERT_GT(chain.size(), 5);
    EXPECT_EQ(chain.mid(0, 4), (QList<QWidget*>{view()->sidebarList(), view()->appearancePicker(),
                                                view()->refreshButton(), view()->reportButton()}));
    // Tab visits the chain in order and comes round; Shift+Tab goes back.
    for (qsizetype k = 1; k <= chain.size(); ++k) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), chain[k % chain.size()]) << k;
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), chain.last());

    // Down and Up move between the rows of one card, and stop at its ends.
    QWidget* first = view()->currentPage()->findChild<RowList*>()->rowWidgets().front();
    TabStop::focus(first, Qt::TabFocusReason);
    QTest::keyClick(first, Qt::Key_Up);
    EXPECT_EQ(QApplication::focusWidget(), first);
    QWidget* group = first->parentWidget();
    for (QWidget* p = group; p; p = p->parentWidget())
        if (qobject_cast<Card*>(p)) group = p;
    const QList<QWidget*> card = TabStop::stopsIn(group);
    QTest::keyClick(first, Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), card.value(1, first));

    // Enter, Space and Ctrl+C copy the focused value, with the badge a click shows.
    QWidget* focused = QApplication::focusWidget();
    Copyable* c = Copyable::of(focused);
    for (auto [key, mods] :
         {std::pair{Qt::Key_Return, Qt::NoModifier}, std::pair{Qt::Key_Space, Qt::NoModifier},
          std::pair{Qt::Key_C, Qt::ControlModifier}}) {
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(focused, key, mods);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), c->value()) << key;
        EXPECT_TRUE(c->isCopied() && c->badge());
    }

    // A page shortcut from inside a page leaves the focus on the new page's heading.
    QTest::keyClick(window, Qt::Key_4, Qt::ControlModifier);
    EXPECT_EQ(view()->selection(), Section::performance);
    EXPECT_EQ(QApplication::focusWidget(), TabStop::stopsIn(view()->currentPage()).value(0));
    AboutView* about = app_->openAbout();
    // About's texts are stops; the e-mail link does not read its URL as a description.
    QStringList names;
    for (QWidget* w : TabStop::stopsIn(about)) {
        QAccessibleInterface* i = QAccessible::queryAccessibleInterface(w);
        names << nameOf(i);
        EXPECT_FALSE(i->text(QAccessible::Description).contains(QLatin1String("mailto:")));
    }
    for (const QString& want :
         QStringList{"Version " + AboutView::version(), "Developer: Orvane Labs",
                     "Email: hello@orvane.app", AboutView::copyrightText()})
        EXPECT_TRUE(names.contains(want)) << want.toStdString();
    QTest::keyClick(about, Qt::Key_Escape);
    EXPECT_FALSE(about->isVisible());
}

TEST(FocusRing, ShowsForKeyboardFocusOnly) {
    QWidget host;
    auto* row = new InfoRow(QStringLiteral("Model"), QStringLiteral("MacBook Pro"), {}, {}, &host);
    auto* other = new PlainButton(QStringLiteral("Refresh"), {}, Theme::font(12), &host);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    QApplication::setActiveWindow(&host);
    const auto ringShown = [&] {
        const QWidget* ring = row->copyable()->focusRing()->ring();
        return ring && ring->isVisible();
    };
    for (auto [reason, shown] :
         {std::pair{Qt::OtherFocusReason, false}, std::pair{Qt::MouseFocusReason, false},
          std::pair{Qt::TabFocusReason, true}}) {
        other->setFocus();
        row->setFocus(reason);
        EXPECT_EQ(ringShown(), shown) << reason;
    }
    other->setFocus();
    EXPECT_FALSE(ringShown());
}

// A stored choice wins over the system's request; gauges then jump instead of sweeping.
TEST(ReducedMotion, StoredChoiceDecidesAndGaugesJump) {
    QWidget host;
    auto* ring = new RingGauge(0, {}, QStringLiteral("CPU Load"), Qt::green, 150, &host);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    QObject context;
    for (auto [stored, reduce] : {std::pair{"true", true}, std::pair{"false", false}}) {
        QSettings().setValue(QLatin1String(MotionPreference::kSettingKey), QString(stored));
        MotionPreference::apply(&context);
        EXPECT_EQ(Theme::reduceMotion(), reduce) << stored;
        ring->setFraction(ring->fraction() > 0.5 ? 0.1 : 0.9);
        EXPECT_EQ(ring->isAnimating(), !reduce) << stored;
    }
    QSettings().remove(QLatin1String(MotionPreference::kSettingKey));
    Theme::setReduceMotion(false);
}

}  // namespace
}  // namespace orvane
