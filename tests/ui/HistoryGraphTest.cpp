#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <functional>

#include "tests/ui/PageTextPrinters.h"
#include "ui/model/HistoryModel.h"
#include "ui/widgets/HistoryGraph.h"

namespace orvane {
namespace {

// A second's values; a negative share is one that was not measured.
HistoryPoint sample(double time, double user, double system, double mem) {
    return {time,          user >= 0,
            mem >= 0,      float(std::max(user, 0.0)),
            float(system), float(std::max(mem, 0.0)),
            8'000'000'000};
}

// The largest difference of any channel of any pixel (images of one size).
int largestDifference(const QImage& a, const QImage& b) {
    int most = 0;
    for (int i = 0; i < a.width() * a.height(); ++i) {
        const QRgb p = a.pixel(i % a.width(), i / a.width()),
                   q = b.pixel(i % a.width(), i / a.width());
        for (int shift : {0, 8, 16, 24})
            most = std::max(most, std::abs(int(p >> shift & 255) - int(q >> shift & 255)));
    }
    return most;
}

// A drawing kept up to date sample by sample looks like one drawn afresh from the end state
// (antialiasing of the memory line, one path per run, may differ by a shade where a strip
// begins), and only the first paint (or a history that started afresh) draws the whole plot.
TEST(HistoryGraph, ScrollingMatchesAFreshDrawing) {
    const struct {
        const char* name;
        int samples;
        std::function<double(int)> time;  // of sample i
        int fullRedraws;
    } cases[] = {
        {"filling", 30, [](int i) { return i; }, 1},
        {"wrapping round", 150, [](int i) { return i * 1.02; }, 1},
        {"gaps and second samples in one second", 60,
         [](int i) { return i < 20 ? i : i + 5.3 - (i % 7 == 0) * 0.7; }, 1},
        {"the clock went back", 40, [](int i) { return i < 20 ? i + 100 : i; }, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
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
        EXPECT_LE(largestDifference(live.grab().toImage(), fresh.grab().toImage()), 12);
        EXPECT_EQ(live.fullRedraws(), c.fullRedraws);
        // The right edge is the newest second, the left edge two minutes back.
        EXPECT_EQ(live.slotAt({live.plotRect().right(), 5}), h.end() - 1);
        if (h.size() == LiveHistory::kCapacity) {
            EXPECT_EQ(live.slotAt({0, 5}), h.begin());
        }
    }
}

TEST(HistoryGraph, Texts) {
    LiveHistory h;
    EXPECT_EQ(HistoryModel::summary(h),
              "Processor load, last 2 minutes: not measured yet. Memory used: not measured yet.");
    h.append(sample(0, -1, 0, 0.5));
    h.append(sample(1, 0.1, 0.05, 0.5));
    h.append(sample(3, 0.3, 0.15, 0.6));
    HistoryGraph graph;
    graph.setHistory(h);
    EXPECT_EQ(graph.accessibleDescription().toStdString(),
              "Processor load, last 2 minutes: average 30%, peak 45%. Memory used: average 53%, "
              "peak 60%.");
    EXPECT_EQ(HistoryModel::pointText(h.at(2), 1), "1 s ago\nNo sample");
    EXPECT_EQ(HistoryModel::pointText(h.at(0), 3), "3 s ago\nMemory 50% (7.45 GB)");
    EXPECT_EQ(HistoryModel::pointText(h.newest(), 0),
              "now\nProcessor 45% (user 30%, system 15%)\nMemory 60% (7.45 GB)");
    EXPECT_EQ(HistoryModel::legend(h.at(0))[0], (MiniStat{"-", "User", Tint::blue}));
}

}  // namespace
}  // namespace orvane
