// The one observable object that owns everything the program knows about the machine.
// Platform reads run on work queues: the collections on "orvane.collect", the live samples on
// "orvane.live" (so a slow tool never delays a sample). Results are published on the main
// thread through the MainQueue callback, in submission order.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "service/JournalKeeper.h"
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
    // screenshot steps it). Read on the main thread when the sample is asked for.
    using Clock = std::function<double()>;

    // The published fields, as observers are told about them.
    enum class Field {
        hardware,
        battery,
        volumes,
        displays,
        graphics,
        live,
        loaded,
        sensors,
        journal
    };
    using Observer = std::function<void(Field)>;

    // Defaults, the work queues, and a first live sample. Call on the main thread.
    static std::shared_ptr<SystemService> create(std::shared_ptr<const Platform> platform,
                                                 MainQueue mainQueue, Clock clock = historyClock);
    ~SystemService();
    // Stops the work queues: nothing queued runs, and a read that is running finishes before
    // this returns, so no worker still holds the service. The owner calls it at quit, so the
    // service goes on the main thread and no worker outlives main().
    void stop();
    SystemService(const SystemService&) = delete;
    SystemService& operator=(const SystemService&) = delete;

    // The four entry points, all called on the main thread; each queues its reads and
    // returns at once.
    void loadAll();
    void refresh();
    void refreshDynamic();
    void updateLive();
    // Reads the sensors and throughput on the work queue and publishes them, unless a read
    // is still running or the last one was asked for less than a second ago (the pages that
    // show them call this every second while visible). True when a read was started.
    bool updateSensors();

    // The health history: `keeper` records and reads it on the collect queue after every
    // collection, and `journal` is published when it changed; what the user is to be told goes
    // to `notice`, on the main thread. Set before the first load.
    using NoticeSink = std::function<void(const JournalNotice&)>;
    void keepJournal(std::shared_ptr<JournalKeeper> keeper, NoticeSink notice);
    // Recording switched on or off, and "Clear History…": queued, then published.
    void setJournalRecording(bool on);
    void clearJournal();

    // Published fields; read on the main thread.
    const Snapshot& snapshot() const { return published_; }
    const HardwareInfo& hardware() const { return published_.hardware; }
    const BatteryInfo& battery() const { return published_.battery; }
    const std::vector<VolumeInfo>& volumes() const { return published_.volumes; }
    const std::vector<DisplayInfo>& displays() const { return published_.displays; }
    const std::vector<GraphicsInfo>& graphics() const { return published_.graphics; }
    const LiveMetrics& live() const { return published_.live; }
    bool loaded() const { return published_.loaded; }
    const SensorReadings& sensors() const { return published_.sensors; }
    const JournalState& journal() const { return journal_; }
    // The summed throughput of the sensor samples published in the last two minutes; it
    // grows with every assignment to `sensors`, before observers are told.
    const ThroughputHistory& throughput() const { return throughput_; }
    // The last two minutes of published live samples, kept from construction on whatever
    // page is shown; it grows with every assignment to `live`, before observers are told.
    const LiveHistory& history() const { return history_; }
    // How many live samples have been published since construction.
    std::uint64_t liveSamples() const { return liveSamples_; }

    // Every assignment to a published field stores the value, then calls each observer
    // once. Main thread only. Returns a token for unsubscribe().
    int subscribe(Observer observer);
    void unsubscribe(int token);

    const Platform& platform() const { return *platform_; }
    void setClock(Clock clock) { clock_ = std::move(clock); }

  private:
    // The previous sample's processor ticks: read and replaced only by the live queue's items.
    struct LiveTicks {
        std::vector<CpuTicks> ticks;
    };

    SystemService(std::shared_ptr<const Platform> platform, MainQueue mainQueue, Clock clock);
    // Collects on the collect queue and publishes in one main-thread task: every record but
    // the live metrics (`full`, then `loaded` is set) or the dynamic ones.
    void collect(bool full);
    void publish(Snapshot records, bool full);
    // Runs a step of the keeper on the collect queue and publishes what it changed.
    void journalStep(std::function<JournalKeeper::Update(JournalKeeper&)> step);
    void publishJournal(JournalKeeper::Update update);
    template <class T>
    void assign(Field field, T& slot, T value);
    void notify(Field field);

    std::shared_ptr<const Platform> platform_;
    MainQueue mainQueue_;
    Clock clock_;

    Snapshot published_;
    LiveHistory history_;
    std::uint64_t liveSamples_ = 0;
    std::shared_ptr<LiveTicks> liveTicks_ = std::make_shared<LiveTicks>();
    bool dynamicBusy_ = false;
    ThroughputHistory throughput_;
    bool sensorsBusy_ = false;
    std::optional<double> sensorsAskedAt_;
    JournalState journal_;
    std::shared_ptr<JournalKeeper> keeper_;
    NoticeSink notice_;

    std::map<int, Observer> observers_;
    int nextToken_ = 1;

    // Last members: destroyed first, so no queued item outlives the fields above.
    SerialQueue queue_{"orvane.collect"};
    SerialQueue liveQueue_{"orvane.live"};
};

}  // namespace orvane
