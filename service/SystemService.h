// The one observable object that owns everything the program knows about the machine.
// Collections run on a serial work queue; results are published on the main thread
// through the MainQueue callback, in submission order.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "service/LiveHistory.h"
#include "service/Records.h"
#include "service/Sensors.h"
#include "service/SerialQueue.h"
#include "service/platform/Platform.h"

namespace orvane {

// Runs a task on the main thread, after the tasks submitted before it. Must be callable
// from any thread.
using MainQueue = std::function<void(std::function<void()>)>;

class SystemService : public std::enable_shared_from_this<SystemService> {
  public:
    // The time a live sample is taken at, in seconds (historyClock() unless a test or a
    // screenshot steps it).
    using Clock = std::function<double()>;

    // The published fields, as observers are told about them.
    enum class Field { hardware, battery, volumes, displays, graphics, live, loaded, sensors };
    using Observer = std::function<void(Field)>;

    // Defaults, the work queue "orvane.collect", and a first live sample. Call on the main
    // thread.
    static std::shared_ptr<SystemService> create(std::shared_ptr<const Platform> platform,
                                                 MainQueue mainQueue, Clock clock = historyClock);
    ~SystemService();
    SystemService(const SystemService&) = delete;
    SystemService& operator=(const SystemService&) = delete;

    // The four entry points, all called on the main thread.
    void loadAll();
    void refresh();
    void refreshDynamic();
    void updateLive();
    // Reads the sensors and throughput on the work queue and publishes them, unless a read
    // is still running or the last one was asked for less than a second ago (the pages that
    // show them call this every second while visible). True when a read was started.
    bool updateSensors();

    // Published fields; read on the main thread.
    const HardwareInfo& hardware() const { return hardware_; }
    const BatteryInfo& battery() const { return battery_; }
    const std::vector<VolumeInfo>& volumes() const { return volumes_; }
    const std::vector<DisplayInfo>& displays() const { return displays_; }
    const std::vector<GraphicsInfo>& graphics() const { return graphics_; }
    const LiveMetrics& live() const { return live_; }
    bool loaded() const { return loaded_; }
    const SensorReadings& sensors() const { return sensors_; }
    // The last two minutes of published live samples, kept from construction on whatever
    // page is shown; it grows with every assignment to `live`.
    const LiveHistory& history() const { return history_; }

    // Every assignment to a published field calls each observer once, before the value is
    // stored. Main thread only. Returns a token for unsubscribe().
    int subscribe(Observer observer);
    void unsubscribe(int token);

    const Platform& platform() const { return *platform_; }
    void setClock(Clock clock) { clock_ = std::move(clock); }

  private:
    SystemService(std::shared_ptr<const Platform> platform, MainQueue mainQueue, Clock clock);
    template <class T>
    void assign(Field field, T& slot, T value);
    void notify(Field field);

    std::shared_ptr<const Platform> platform_;
    MainQueue mainQueue_;
    Clock clock_;

    HardwareInfo hardware_;
    BatteryInfo battery_;
    std::vector<VolumeInfo> volumes_;
    std::vector<DisplayInfo> displays_;
    std::vector<GraphicsInfo> graphics_;
    LiveMetrics live_;
    bool loaded_ = false;
    LiveHistory history_;
    std::vector<CpuTicks> prevCPUTicks_;
    bool dynamicBusy_ = false;
    SensorReadings sensors_;
    bool sensorsBusy_ = false;
    std::optional<double> sensorsAskedAt_;

    std::map<int, Observer> observers_;
    int nextToken_ = 1;

    // Last member: destroyed first, so no queued item outlives the fields above.
    SerialQueue queue_{"orvane.collect"};
};

}  // namespace orvane
