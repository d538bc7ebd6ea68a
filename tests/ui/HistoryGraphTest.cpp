#include <gtest/gtest.h>

#include <QImage>
#include <functional>

#include "tests/ui/PageTextPrinters.h"
#include "ui/components/Theme.h"
#include "ui/pages/HistoryModel.h"
#include "ui/widgets/HistoryGraph.h"

namespace orvane {
namespace {

HistoryPoint sample(double time, double user, double system, double mem) {
    HistoryPoint p;
    p.time = time;
    p.cpuKnown = user >= 0;
    p.cpuUser = static_cast<float>(std::max(user, 0.0));
    p.cpuSystem = static_cast<float>(system);
    p.memKnown = mem >= 0;
    p.memUsed = static_cast<float>(std::max(mem, 0.0));
    p.memUsedBytes = 8'000'000'000;
    return p;
}

// A drawing kept up to date sample by sample looks exactly like one drawn afresh from the end
// state, and only the first paint draws the whole plot.
TEST(HistoryGraph, ScrollingMatchesAFreshDrawing) {
    struct Case {
        const char* name;
        int samples;
        std::function<double(int)> time;  // of sample i
        int fullRedraws;
    };
    const Case cases[] = {
        {"filling", 30, [](int i) { return i; }, 1},
        {"wrapping round", 150, [](int i) { return i * 1.02; }, 1},
        {"with gaps and a second sample in one second", 60,
         [](int i) { return i < 20   ? i
                            : i < 40 ? i + 5
                                     : i + 5.3 - (i % 7 == 0) * 0.7; }, 1},
        {"after the clock went back", 40, [](int i) { return i < 20 ? i + 100 : i; }, 2},
    };
    for (bool dark : {false, true}) {
        Theme::setDark(dark);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (dark ? ", dark" : ""));
            HistoryGraph live, fresh;
            live.resize(333, live.sizeHint().height());
            fresh.resize(live.size());
            LiveHistory h;
            for (int i = 0; i < c.samples; ++i) {
                const double wave = (i * 37 % 100) / 100.0;
                h.append(sample(c.time(i), i % 11 == 3 ? -1 : wave * 0.6, wave * 0.3,
                                i % 13 == 5 ? -1 : 0.3 + wave / 2));
                live.setHistory(h);
                live.grab();
            }
            fresh.setHistory(h);
            EXPECT_EQ(live.grab().toImage(), fresh.grab().toImage());
            EXPECT_EQ(live.fullRedraws(), c.fullRedraws);
            // The right edge is the newest second, the left edge two minutes back.
            EXPECT_EQ(live.slotAt({332, 5}), h.end() - 1);
            if (h.size() == LiveHistory::kCapacity) EXPECT_EQ(live.slotAt({0, 5}), h.begin());
        }
    }
    Theme::setDark(false);
}

TEST(HistoryGraph, Texts) {
    LiveHistory h;
    EXPECT_EQ(HistoryModel::summary(h),
              "Processor load, last 2 minutes: not measured yet. Memory used: not measured yet.");
    h.append(sample(0, -1, 0, 0.5));
    h.append(sample(1, 0.1, 0.05, 0.5));
    h.append(sample(3, 0.3, 0.15, 0.6));
    EXPECT_EQ(HistoryModel::summary(h),
              "Processor load, last 2 minutes: average 30%, peak 45%. Memory used: average 53%, "
              "peak 60%.");
    EXPECT_EQ(HistoryModel::pointText(h.at(2), 1), "1 s ago\nNo sample");
    EXPECT_EQ(HistoryModel::pointText(h.at(0), 3), "3 s ago\nMemory 50% (8 GB)");
    EXPECT_EQ(HistoryModel::pointText(h.newest(), 0),
              "now\nProcessor 45% (user 30%, system 15%)\nMemory 60% (8 GB)");
    const auto legend = HistoryModel::legend(h.at(0));
    EXPECT_EQ(legend[0], (MiniStat{"-", "User", "blue"}));
    EXPECT_EQ(legend[2], (MiniStat{"50%", "Memory", "green"}));

    HistoryGraph graph;
    graph.setHistory(h);
    EXPECT_EQ(graph.accessibleDescription().toStdString(), HistoryModel::summary(h));
}

}  // namespace
}  // namespace orvane
