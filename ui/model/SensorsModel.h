// What the pages show of the sensors and throughput: the Performance page's Disk and Network
// cards, a GPU card's "GPU Load" row and the Sensors page's cards. Qt-free.
#pragma once

#include <array>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "service/Records.h"
#include "ui/model/PageText.h"
#include "ui/model/PerformanceModel.h"

namespace orvane {

// One card of the Sensors page: a device's temperatures and fans, or the system's own state.
struct SensorCardText {
    std::string title;
    Symbol icon = Symbol::thermometer;
    std::vector<PageText::Row> rows;
    bool operator==(const SensorCardText&) const = default;
};

namespace SensorsModel {

// Which of a throughput point's two series a card shows.
enum class Traffic { disk, network };

// The two values beside a card's title, coloured as its graph draws them: "Read" and
// "Written", or "Received" and "Sent", in bytes per second ("-" while not known).
std::array<MiniStat, 2> legend(Traffic traffic, const ThroughputPoint* newest);
// The series of a point: first (drawn as an area) and second (drawn as a line).
std::optional<double> first(Traffic traffic, const ThroughputPoint& p);
std::optional<double> second(Traffic traffic, const ThroughputPoint& p);
// The top of the graph's scale: the largest value shown rounded up to 1, 2 or 5 times a
// power of ten, at least 1 kB/s.
double scale(Traffic traffic, const std::deque<ThroughputPoint>& points);

// The load of graphics processor `index` of `graphics`: the load of the same driver's GPU in
// the same place among that driver's GPUs (nothing when there is none).
const GpuLoadFacts* loadOf(const std::vector<GraphicsInfo>& graphics, std::size_t index,
                           const std::vector<GpuLoadFacts>& loads);
// "GPU Load": the busy share coloured by the usage rule, or "Sleeping".
std::optional<PageText::Row> loadRow(const GpuLoadFacts* load);

// The Sensors page: a card for the system's thermal state, one per device with sensors (a
// sleeping device says so), and the battery's power draw (on its device's card where it has
// one).
std::vector<SensorCardText> cards(const SensorReadings& sensors, const BatteryInfo& battery);
// The empty state shows once a sample has been read and there is no card.
bool showEmpty(const SensorReadings& sensors, const std::vector<SensorCardText>& cards);

}  // namespace SensorsModel
}  // namespace orvane
