// The health history on the pages: what a battery's and a volume's points draw and say, a
// journal that cannot be written (one message, the app goes on), Clear History and the setting,
// and a replayed machine that shows its capture's points and records nothing.
#include <gtest/gtest.h>
#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>

#include "service/platform/ReplayPlatform.h"
#include "tests/ui/ReplayForwarder.h"
#include "ui/app/OrvaneApp.h"
#include "ui/model/JournalModel.h"
#include "ui/pages/BatteryView.h"
#include "ui/pages/StorageView.h"
#include "ui/shell/ContentView.h"
#include "ui/widgets/HealthChart.h"
#include "ui/widgets/HealthHistoryCard.h"
#include "ui/widgets/VolumeCard.h"

namespace orvane {
namespace {

constexpr std::int64_t kT0 = 1769904000;  // 2026-02-01T00:00:00Z
constexpr std::int64_t kDay = 86400;

// `n` points `every` days apart from kT0, health falling by `fall` a day; `curve` 2 from `newAt`.
JournalState points(int n, int every, double fall, int newAt = 1 << 30) {
    JournalState s;
    s.recording = true;
    for (int i = 0; i < n; ++i) {
        const double health = 95 - fall * i * every;
        s.history.battery.push_back({kT0 + i * every * kDay,
                                     i >= newAt ? 2 : 1,
                                     "b",
                                     6000,
                                     std::llround(health * 60),
                                     100 + i,
                                     health,
                                     "Normal",
                                     {}});
        s.history.volumes.push_back({kT0 + i * every * kDay, 1, "/", "HD", 1000,
                                     600 - static_cast<std::int64_t>(i * every * fall * 10)});
    }
    return s;
}

}  // namespace

TEST(JournalModel, PointsGiveTheCurveMarkersAndTexts) {
    JournalState off, capture, readOnly;
    capture.capture = true;
    readOnly.readOnly = true;
    const struct {
        const char* what;
        JournalState state;
        std::size_t curve, months;  // points drawn, month markers
        bool projected;
        std::string text;  // the projection, or the empty card's text
        std::string volumeTrend;
        std::size_t volumePoints;
    } cases[] = {
        {"recording, nothing yet", points(0, 1, 0), 0, 0, false, "No history recorded yet", "", 0},
        {"switched off", off, 0, 0, false, "Recording is switched off", "", 0},
        {"a run that only reads", readOnly, 0, 0, false, "No history recorded yet", "", 0},
        {"a capture without", capture, 0, 0, false, "This capture holds no health history", "", 0},
        {"ten days", points(3, 5, 0.1), 3, 1, false, "Needs a month of history", "", 3},
        {"five points short", points(4, 15, 0.1), 4, 2, false, "Needs more readings", "", 4},
        {"wearing", points(10, 10, 0.05), 10, 4, true, "Health reaches 80% around November 2026",
         "Full in about 36 months", 10},
        {"steady", points(10, 10, 0), 10, 4, false, "Health is holding steady", "", 10},
        {"new battery", points(10, 10, 0.05, 8), 2, 2, false, "Needs a month of history",
         "Full in about 36 months", 10},
        {"far below", points(20, 10, 0.1), 20, 7, false, "Health is at or below 80%",
         "Full in about 13 months", 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const BatteryHistoryView b = JournalModel::battery(c.state);
        EXPECT_EQ(b.show, c.curve > 0);
        EXPECT_EQ(b.curve.size(), c.curve);
        EXPECT_EQ(b.months.size(), c.months);
        EXPECT_EQ(b.projection.has_value(), c.projected);
        EXPECT_EQ(b.show ? b.projectionText : b.emptyText, c.text);
        for (const ChartPoint& p : b.curve)
            EXPECT_TRUE(p.x >= 0 && p.x <= 1 && p.y >= 0 && p.y <= 1) << p.x << " " << p.y;
        const VolumeHistoryView v = JournalModel::volume(c.state, "/");
        EXPECT_EQ(v.used.size(), c.volumePoints);
        EXPECT_EQ(v.trend, c.volumeTrend);
        EXPECT_FALSE(JournalModel::volume(c.state, "/elsewhere").show);
    }
}

TEST(JournalPages, AFaultIsSaidOnceClearingAsksFirstAndAReplayRecordsNothing) {
    const std::filesystem::path userJournal = defaultJournalPath();
    std::int64_t now = kT0;
    {
        OrvaneApp app(
            macPlatformOf(std::make_shared<ReplayForwarder>(ORVANE_FIXTURES "/mac-portable")));
        QStringList messages;
        app.setMessageSink([&](const QString& title, const QString&) { messages << title; });
        app.journal().options().journal = "/proc/orvane/journal.sqlite";
        app.journal().options().clock = [&] { return now; };
        const std::shared_ptr<SystemService> svc = app.svc();
        int published = 0;
        svc->subscribe(
            [&](SystemService::Field f) { published += f == SystemService::Field::journal; });
        for (int hour = 0; hour < 3; ++hour) {
            now = kT0 + hour * 3600;
            svc->loadAll();
            ASSERT_TRUE(QTest::qWaitFor([&] { return published == hour + 1; }));
        }
        EXPECT_TRUE(svc->loaded());
        EXPECT_EQ(messages, QStringList{QStringLiteral("The health history cannot be recorded")});
        EXPECT_TRUE(svc->journal().history.empty());
    }

    {
        // "Clear History…" deletes only once confirmed; switched off, the pages are told.
        QTemporaryDir dir;
        OrvaneApp app(
            macPlatformOf(std::make_shared<ReplayForwarder>(ORVANE_FIXTURES "/mac-portable")));
        app.journal().options().journal = dir.filePath(QStringLiteral("j.sqlite")).toStdString();
        const std::shared_ptr<SystemService> svc = app.svc();
        svc->loadAll();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !svc->journal().history.empty(); }));
        for (const bool confirmed : {false, true}) {
            app.journal().setConfirm([confirmed] { return confirmed; });
            app.journal().clearAction()->trigger();
            QTest::qWait(100);
            EXPECT_EQ(svc->journal().history.empty(), confirmed);
            EXPECT_EQ(QFile::exists(dir.filePath(QStringLiteral("j.sqlite"))), !confirmed);
        }
        app.journal().recordAction()->trigger();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !svc->journal().recording; }));
        app.journal().recordAction()->trigger();
        EXPECT_TRUE(JournalController::recordingStored());
    }

    OrvaneApp app(std::make_shared<ReplayPlatform>(ORVANE_FIXTURES "/mac-portable"));
    const std::shared_ptr<SystemService> svc = app.svc();
    BatteryView battery(svc);
    StorageView storage(svc);
    battery.show();
    storage.show();
    svc->loadAll();
    ASSERT_TRUE(QTest::qWaitFor([&] { return svc->journal().capture; }));
    QTest::qWait(50);
    EXPECT_TRUE(battery.historyCard()->chart()->view().show);
    EXPECT_EQ(battery.historyCard()->chart()->view().curve.size(), 620u);
    ASSERT_EQ(storage.cards().size(), 2u);
    for (VolumeCard* card : storage.cards())
        EXPECT_FALSE(card->historyRow()->isHidden()) << card->text().name;
    EXPECT_FALSE(std::filesystem::exists(userJournal));
}

}  // namespace orvane
