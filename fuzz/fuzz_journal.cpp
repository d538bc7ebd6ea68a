// A capture's journal ("journal.json") read back, its projections made and every history
// format written; what is read is written and read back the same.
#include "fuzz/FuzzCheck.h"
#include "service/HealthTrend.h"
#include "service/HistoryReport.h"
#include "service/Journal.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const History h = historyFromJson(std::string_view(reinterpret_cast<const char*>(data), size));
    batteryTrend(h.currentBattery());
    for (const std::string& v : h.volumeNames())
        volumeTrend(h.currentVolume(v));
    for (const HistoryFormat f : {HistoryFormat::text, HistoryFormat::json, HistoryFormat::csv})
        formatHistory(h, f);
    historyMetrics(h);
    const std::string again = historyToJson(h);
    fuzz::require(historyFromJson(historyToJson(historyFromJson(again))) == historyFromJson(again),
                  "a history survives a write and a read");
    return 0;
}
