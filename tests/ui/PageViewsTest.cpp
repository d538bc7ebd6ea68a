// The five pages over captured machines: what they show, and that updates land in place.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QMainWindow>
#include <QRegularExpression>

#include "tests/ui/PageTestSupport.h"
#include "ui/app/OrvaneApp.h"
#include "ui/components/Card.h"
#include "ui/components/EmptyState.h"
#include "ui/components/IconView.h"
#include "ui/components/InfoRow.h"
#include "ui/components/PageHeader.h"
#include "ui/components/RingGauge.h"
#include "ui/components/StatChip.h"
#include "ui/components/Text.h"
#include "ui/components/UsageBar.h"
#include "ui/pages/BatteryView.h"
#include "ui/pages/DisplaysView.h"
#include "ui/pages/OverviewView.h"
#include "ui/pages/PerformanceView.h"
#include "ui/pages/StorageView.h"
#include "ui/paint/Theme.h"
#include "ui/shell/ContentView.h"
#include "ui/widgets/CapsuleBadge.h"
#include "ui/widgets/CoreGrid.h"
#include "ui/widgets/DeviceCard.h"
#include "ui/widgets/HeroBanner.h"
#include "ui/widgets/HistoryGraph.h"
#include "ui/widgets/RowList.h"
#include "ui/widgets/VolumeCard.h"

namespace orvane {
namespace {

using pagetest::ServiceRig;

// Shows a page at a size, so it takes updates as a visible page does.
template <class View>
std::unique_ptr<View> showPage(ServiceRig& rig, int width = 680, int height = 900) {
    auto view = std::make_unique<View>(rig.svc);
    view->resize(width, height);
    view->show();
    QCoreApplication::processEvents();
    return view;
}

// Every name and value a screen reader finds under `w`, skipping what is not shown.
QStringList accessibleTexts(QWidget* w) {
    QStringList out;
    std::vector<QAccessibleInterface*> stack = {QAccessible::queryAccessibleInterface(w)};
    while (!stack.empty()) {
        QAccessibleInterface* i = stack.back();
        stack.pop_back();
        if (!i || i->state().invisible) continue;
        out << i->text(QAccessible::Name) << i->text(QAccessible::Value);
        for (int k = 0; k < i->childCount(); ++k)
            stack.push_back(i->child(k));
    }
    return out;
}

std::string rowValue(const RowList* list, const std::string& label) {
    for (const InfoRow* r : list->rowWidgets())
        if (r->label().toStdString() == label) return r->value().toStdString();
    return "<no row " + label + ">";
}

// The fourth chip and the glance card follow the machine: battery health on a portable, the
// power source on a desktop.
TEST(OverviewView, ChipsAndRowsFollowTheMachine) {
    const struct {
        const char* fixture;
        Symbol icon;
        const char *value, *caption;
        Tint tint;
        const char *row, *rowValue;
    } cases[] = {
        {"mac-portable", Symbol::battery100, "91%", "Battery Health", Tint::green, "Battery",
         "81% \u00b7 Charging"},
        {"mac-desktop", Symbol::boltFill, "AC", "Power", Tint::yellow, "Power", "AC Power"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fixture);
        ServiceRig rig(c.fixture);
        ASSERT_TRUE(rig.load());
        auto view = showPage<OverviewView>(rig);
        const StatChip* chip = view->chips()[3];
        EXPECT_EQ(chip->icon(), c.icon);
        EXPECT_EQ(chip->value(), c.value);
        EXPECT_EQ(chip->caption(), c.caption);
        EXPECT_EQ(chip->tint(), Theme::markColor(c.tint));
        EXPECT_EQ(rowValue(view->glanceCard(), c.row), c.rowValue);
    }
    ServiceRig failed("mac-failed");
    ASSERT_TRUE(failed.load());
    auto bare = showPage<OverviewView>(failed);
    EXPECT_EQ(bare->chips()[2]->value(), "-");
    EXPECT_EQ(rowValue(bare->systemCard(), "Serial Number"), "-");
    EXPECT_EQ(rowValue(bare->glanceCard(), "Displays"), "-");
}

TEST(OverviewView, ShowsDefaultsUntilLoadedAndAHiddenPageCatchesUpWhenShown) {
    ServiceRig rig("mac-portable");
    auto view = showPage<OverviewView>(rig);
    EXPECT_EQ(view->banner()->hero().modelName, "Mac");
    EXPECT_EQ(rowValue(view->systemCard(), "Identifier"), "-");
    EXPECT_EQ(view->chips()[3]->value(), "-");                // the power source is not read yet
    EXPECT_EQ(view->chips()[3]->icon(), Symbol::battery100);  // isLaptop defaults to true
    view->hide();
    ASSERT_TRUE(rig.load());
    EXPECT_EQ(view->banner()->hero().modelName, "Mac");  // not yet
    view->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(view->banner()->hero().modelName, "MacBook Pro");
}

TEST(OverviewView, LiveSamplesUpdateRowsInPlace) {
    ServiceRig rig("mac-portable");
    ASSERT_TRUE(rig.load());
    auto view = showPage<OverviewView>(rig);
    const std::vector<InfoRow*> before = view->glanceCard()->rowWidgets();
    const std::string load = rowValue(view->glanceCard(), "CPU Load");
    ASSERT_TRUE(rig.sample());
    ASSERT_TRUE(rig.sample());
    EXPECT_EQ(view->glanceCard()->rowWidgets(), before);  // same widgets, new values
    EXPECT_NE(rowValue(view->glanceCard(), "CPU Load"), load);
}

// A portable shows its gauges and details, a machine without a battery the notice.
TEST(BatteryView, GaugesAndDetailsOrTheNotice) {
    for (const char* name : {"mac-portable", "mac-desktop", "mac-failed"}) {
        SCOPED_TRACE(name);
        ServiceRig rig(name);
        ASSERT_TRUE(rig.load());
        auto view = showPage<BatteryView>(rig);
        const bool portable = name == std::string("mac-portable");
        EXPECT_EQ(view->batteryPanel()->isVisible(), portable);
        EXPECT_EQ(view->noBatteryCard()->isVisible(), !portable);
        if (!portable) continue;
        EXPECT_EQ(view->healthRing()->title(), "91%");
        EXPECT_EQ(view->conditionBadge()->tint(), Tint::green);
        EXPECT_EQ(view->chargeIcon()->symbol(), Symbol::battery100Bolt);
        EXPECT_EQ(view->ratedBar()->detail(), "212 / 1,000 rated");
        EXPECT_EQ(rowValue(view->electricalCard(), "Battery Serial"), "F8Y2TEST0BAT1");
    }
}

TEST(StorageView, OneCardPerVolumeAndThePlaceholder) {
    ServiceRig rig("mac-desktop");
    ASSERT_TRUE(rig.load());
    auto view = showPage<StorageView>(rig);
    EXPECT_EQ(view->header()->subtitle(), "4 volumes");
    ASSERT_EQ(view->cards().size(), 4u);
    EXPECT_FALSE(view->placeholder()->isVisible());
    EXPECT_TRUE(view->cards()[0]->startupBadge()->isVisible());
    for (std::size_t i = 1; i < 4; ++i)
        EXPECT_FALSE(view->cards()[i]->startupBadge()->isVisible());
    EXPECT_EQ(view->cards()[0]->usedText()->text(), "75% used");
    EXPECT_FALSE(view->cards()[0]->legend()[2].dot->isVisible());  // Total has no dot
    // The bars follow the page's fill rule (at least 12 wide, not clamped).
    for (const VolumeCard* card : view->cards()) {
        const FillBar* bar = card->bar();
        EXPECT_DOUBLE_EQ(bar->currentFillWidth(),
                         StorageModel::fillWidth(bar->width(), card->text().fraction));
        EXPECT_EQ(bar->height(), VolumeCard::kBarHeight);
    }
}

TEST(StorageView, RepublishedListUpdatesCardsAndRebuildsOnlyOnANewCount) {
    ServiceRig rig("mac-portable");
    ASSERT_TRUE(rig.load());
    auto view = showPage<StorageView>(rig);
    ASSERT_EQ(view->cards().size(), 2u);
    const std::vector<VolumeCard*> before = view->cards();
    const int rebuilds = view->rebuildCount();

    // Same volumes again (with new identities), one with less free space.
    rig.platform->setOutput("system_profiler-SPStorageDataType.json", R"({"SPStorageDataType": [
        {"_name": "Macintosh HD", "mount_point": "/", "file_system": "APFS",
         "size_in_bytes": 1000000000000, "free_space_in_bytes": 100000000000},
        {"_name": "Backup", "mount_point": "/Volumes/Backup", "file_system": "ExFAT",
         "size_in_bytes": 2000000000000, "free_space_in_bytes": 1500000000000,
         "spstorage_physical_drive": {"is_internal_disk": "no"}}]})");
    ASSERT_TRUE(rig.refreshDynamic());
    EXPECT_EQ(view->cards(), before);
    EXPECT_EQ(view->rebuildCount(), rebuilds);
    EXPECT_EQ(view->cards()[0]->usedText()->text(), "90% used");

    // One volume unmounted: the list is rebuilt.
    rig.platform->setOutput("system_profiler-SPStorageDataType.json", R"({"SPStorageDataType": [
        {"_name": "Macintosh HD", "mount_point": "/", "file_system": "APFS",
         "size_in_bytes": 1000000000000, "free_space_in_bytes": 100000000000}]})");
    ASSERT_TRUE(rig.refreshDynamic());
    ASSERT_EQ(view->cards().size(), 1u);
    EXPECT_EQ(view->rebuildCount(), rebuilds + 1);
    EXPECT_EQ(view->header()->subtitle(), "1 volume");

    // Nothing readable any more: the reading has finished, so the empty state, not "Reading…".
    rig.platform->setOutput("system_profiler-SPStorageDataType.json", "not json");
    ASSERT_TRUE(rig.refreshDynamic());
    EXPECT_TRUE(view->cards().empty());
    EXPECT_FALSE(view->placeholder()->isVisible());
    EXPECT_TRUE(view->emptyCard()->isVisible());
}

// The empty capture once loading has finished: every page shows its placeholders and empty
// states, and nothing a screen reader reads claims a value that was not read.
TEST(Pages, EmptyCaptureShowsWhatWasNotRead) {
    OrvaneApp app(std::make_shared<ReplayPlatform>(pagetest::fixture("mac-failed")));
    app.showMainWindow();
    ASSERT_TRUE(
        pagetest::spinUntil([&] { return app.svc()->loaded() && app.svc()->liveSamples() >= 2; }));
    ContentView* content = app.contentView();
    const QRegularExpression claimed(
        QStringLiteral("(^|[^0-9.,])0 ?%|0 MB of 0 MB|(^|[^0-9])0m\\b|AC Power|Reading|Sampling"));
    for (Section s : allSections()) {
        content->setSelection(s);
        QCoreApplication::processEvents();
        for (const QString& text : accessibleTexts(app.mainWindow()))
            EXPECT_FALSE(claimed.match(text).hasMatch())
                << rawValue(s).toStdString() << ": " << text.toStdString();
    }
    // Each empty state with its reason.
    const auto reasonOf = [&](Section s) {
        content->setSelection(s);
        QCoreApplication::processEvents();
        for (const EmptyState* e : content->currentPage()->findChildren<EmptyState*>())
            if (e->isVisible()) return e->reason().toStdString();
        return std::string("<none>");
    };
    EXPECT_EQ(reasonOf(Section::storage), "No volumes were found");
    EXPECT_EQ(reasonOf(Section::displays), "No graphics processors or displays were reported");
    EXPECT_EQ(reasonOf(Section::performance), "Processor load is not available on this machine");
    const auto* perf = content->findChild<PerformanceView*>();
    ASSERT_NE(perf, nullptr);
    EXPECT_EQ(std::tuple(perf->cpuRing()->title(), perf->cpuRing()->fraction(),
                         perf->memRing()->title(), perf->memCaption()->text()),
              std::tuple(QString("-"), 0.0, QString("-"), QString("-")));
    // A screen reader hears the gauge without a value, not "0 percent".
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(perf->cpuRing())
                     ->valueInterface()
                     ->currentValue()
                     .isValid());
    EXPECT_TRUE(perf->historyGraph()->history().empty());
}

// Samples update the page in place; a replay past its last captured sample keeps that sample
// whole (ring, legend, per-core bars, memory), and the history holds only what was captured.
TEST(PerformanceView, LiveSamplesUpdateInPlaceAndAReplayKeepsItsLastSample) {
    ServiceRig rig("mac-portable");  // three samples: one at construction, two more
    auto view = showPage<PerformanceView>(rig);
    // The first sample has nothing to compare its ticks with: still sampling.
    ASSERT_TRUE(pagetest::spinUntil([&] { return rig.svc->liveSamples() == 1; }));
    EXPECT_TRUE(view->sampling()->isVisible());
    EXPECT_EQ(view->cpuRing()->title(), "-");
    CoreGrid* grid = view->coreGrid();
    RingGauge* ring = view->cpuRing();
    ASSERT_TRUE(rig.sample());
    EXPECT_EQ(
        std::tuple(view->coreGrid(), view->cpuRing(), view->cpuRing()->title(),
                   grid->cells()[0].percent, view->coreCount()->text()),
        std::tuple(grid, ring, QString("50%"), std::string("50%"), QString("12 logical cores")));
    const auto shown = [&] {
        QStringList out = {view->cpuRing()->title(), view->memRing()->title(),
                           view->memCaption()->text()};
        for (const auto& s : view->cpuStats())
            out << s.value->text();
        for (const auto& s : view->historyLegend())
            out << s.value->text();
        for (const CoreCell& c : view->coreGrid()->cells())
            out << QString::fromStdString(c.percent);
        return out;
    };
    ASSERT_TRUE(rig.sample());
    const QStringList last = shown();
    const std::size_t held = rig.svc->history().size();
    // The legend and the mini stats read the same sample.
    EXPECT_EQ(std::pair(last[3], last[4]), std::pair(last[6], last[7]));
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(rig.sample());
        EXPECT_EQ(shown(), last) << i;
    }
    EXPECT_EQ(rig.svc->history().size(), held);
    EXPECT_TRUE(view->coreGrid()->isVisible());
}

TEST(PerformanceView, CoreGridReflowsWithTheWidth) {
    CoreGrid grid;
    LiveMetrics live;
    live.perCore.assign(10, 0.5);
    grid.setCells(PerformanceModel::coreCells(live));
    grid.resize(100, 10);
    EXPECT_EQ(grid.columns().count, 1);
    const int tall = grid.heightForWidth(100);
    grid.resize(816, 10);
    // Six would fit; five leave no core alone in a row.
    EXPECT_EQ(grid.columns().count, 5);
    EXPECT_LT(grid.heightForWidth(816), tall);
    EXPECT_EQ(grid.heightForWidth(816), 2 * CoreGrid::cellHeight() + 12);
    // Cell 7 sits in the second row, third column.
    EXPECT_DOUBLE_EQ(grid.cellRect(7).left(), 2 * (153.6 + 12));
    EXPECT_DOUBLE_EQ(grid.cellRect(7).top(), CoreGrid::cellHeight() + 12);
}

TEST(DisplaysView, CardsAndBadges) {
    ServiceRig rig("mac-portable");
    ASSERT_TRUE(rig.load());
    auto view = showPage<DisplaysView>(rig);
    EXPECT_EQ(view->header()->subtitle(), "1 GPU \u00b7 2 displays");
    ASSERT_EQ(view->gpuCards().size(), 1u);
    ASSERT_EQ(view->displayCards().size(), 2u);
    EXPECT_FALSE(view->placeholder()->isVisible());
    EXPECT_FALSE(view->gpuCards()[0]->badge()->isVisible());
    EXPECT_TRUE(view->displayCards()[0]->badge()->isVisible());
    EXPECT_FALSE(view->displayCards()[1]->badge()->isVisible());
    EXPECT_EQ(view->displayCards()[1]->icon()->symbol(), Symbol::display);
    // GPU cards come before display cards on the page.
    EXPECT_LT(view->gpuCards()[0]->mapTo(view.get(), QPoint()).y(),
              view->displayCards()[0]->mapTo(view.get(), QPoint()).y());
}

TEST(DisplaysView, AProcessorWithoutDisplaysEndsTheEmptyState) {
    ServiceRig rig("mac-failed");
    ASSERT_TRUE(rig.load());
    auto view = showPage<DisplaysView>(rig);
    // A processor without displays is enough to end the empty state.
    rig.platform->setOutput("system_profiler-SPDisplaysDataType.json",
                            R"({"SPDisplaysDataType": [{"_name": "llvmpipe"}]})");
    ASSERT_TRUE(rig.refreshDynamic());
    EXPECT_EQ(view->header()->subtitle(), "1 GPU \u00b7 0 displays");
    EXPECT_FALSE(view->emptyCard()->isVisible());
    ASSERT_EQ(view->gpuCards().size(), 1u);
    EXPECT_TRUE(view->gpuCards()[0]->rows()->lines().empty());
    EXPECT_FALSE(view->gpuCards()[0]->note()->isVisible());
}

}  // namespace
}  // namespace orvane
