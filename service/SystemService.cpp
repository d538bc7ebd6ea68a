#include "service/SystemService.h"

#include <tuple>

#include "service/Collectors.h"

namespace orvane {

namespace {

// A collector that throws falls back to its record's defaults; the worker keeps running.
template <class F>
auto guarded(F&& collect) -> decltype(collect()) {
    try {
        return collect();
    } catch (...) {
        return {};
    }
}

}  // namespace

std::shared_ptr<SystemService> SystemService::create(std::shared_ptr<const Platform> platform,
                                                     MainQueue mainQueue, Clock clock) {
    std::shared_ptr<SystemService> svc(
        new SystemService(std::move(platform), std::move(mainQueue), std::move(clock)));
    svc->updateLive();
    return svc;
}

SystemService::SystemService(std::shared_ptr<const Platform> platform, MainQueue mainQueue,
                             Clock clock)
    : platform_(std::move(platform)), mainQueue_(std::move(mainQueue)), clock_(std::move(clock)) {}

SystemService::~SystemService() = default;

void SystemService::stop() {
    queue_.close();
    liveQueue_.close();
}

int SystemService::subscribe(Observer observer) {
    const int token = nextToken_++;
    observers_.emplace(token, std::move(observer));
    return token;
}

void SystemService::unsubscribe(int token) {
    observers_.erase(token);
}

void SystemService::notify(Field field) {
    // Copy: an observer may subscribe or unsubscribe while being told.
    const auto observers = observers_;
    for (const auto& [token, observer] : observers)
        observer(field);
}

template <class T>
void SystemService::assign(Field field, T& slot, T value) {
    slot = std::move(value);
    notify(field);
}

void SystemService::collect(bool full) {
    std::weak_ptr<SystemService> weak = weak_from_this();
    queue_.submit([weak, full, platform = platform_, mainQueue = mainQueue_, keeper = keeper_] {
        if (weak.expired()) return;
        Snapshot records;
        if (full) records.hardware = guarded([&] { return collectHardware(platform->hardware()); });
        records.battery = guarded([&] { return collectBattery(platform->power()); });
        records.volumes = guarded([&] { return collectVolumes(platform->volumes()); });
        std::tie(records.displays, records.graphics) =
            guarded([&] { return collectDisplays(platform->graphics()); });
        // The journal's step is cheap unless a recording is due (hourly); its points go out
        // with the records, so a page shows both at once.
        JournalKeeper::Update journal;
        if (keeper)
            journal = guarded([&] { return keeper->collected(records.battery, records.volumes); });
        auto self = weak.lock();
        if (!self) return;
        mainQueue(
            [self, records = std::move(records), full, journal = std::move(journal)]() mutable {
                self->publish(std::move(records), full);
                self->publishJournal(std::move(journal));
            });
    });
}

void SystemService::publish(Snapshot records, bool full) {
    if (full) assign(Field::hardware, published_.hardware, std::move(records.hardware));
    assign(Field::battery, published_.battery, std::move(records.battery));
    assign(Field::volumes, published_.volumes, std::move(records.volumes));
    assign(Field::displays, published_.displays, std::move(records.displays));
    assign(Field::graphics, published_.graphics, std::move(records.graphics));
    if (full)
        assign(Field::loaded, published_.loaded, true);
    else
        dynamicBusy_ = false;
}

void SystemService::keepJournal(std::shared_ptr<JournalKeeper> keeper, NoticeSink notice) {
    keeper_ = std::move(keeper);
    notice_ = std::move(notice);
}

void SystemService::setJournalRecording(bool on) {
    journalStep([on](JournalKeeper& k) { return k.setRecording(on); });
}

void SystemService::clearJournal() {
    journalStep([](JournalKeeper& k) { return k.forget(); });
}

void SystemService::journalStep(std::function<JournalKeeper::Update(JournalKeeper&)> step) {
    if (!keeper_) return;
    std::weak_ptr<SystemService> weak = weak_from_this();
    queue_.submit([weak, keeper = keeper_, step = std::move(step), mainQueue = mainQueue_] {
        if (weak.expired()) return;
        JournalKeeper::Update update = guarded([&] { return step(*keeper); });
        auto self = weak.lock();
        if (!self) return;
        mainQueue([self = std::move(self), update = std::move(update)]() mutable {
            self->publishJournal(std::move(update));
        });
    });
}

void SystemService::publishJournal(JournalKeeper::Update update) {
    if (update.state) assign(Field::journal, journal_, std::move(*update.state));
    if (notice_)
        for (const JournalNotice& n : update.notices)
            notice_(n);
}

void SystemService::loadAll() {
    collect(true);
}

void SystemService::refresh() {
    loadAll();
    updateLive();
}

void SystemService::refreshDynamic() {
    if (dynamicBusy_) return;
    dynamicBusy_ = true;
    collect(false);
}

void SystemService::updateLive() {
    // The sample builds on the record published so far, as it stands when the sample is asked
    // for, and on the ticks of the sample before.
    const double time = clock_ ? clock_() : historyClock();
    std::weak_ptr<SystemService> weak = weak_from_this();
    liveQueue_.submit([weak, time, previous = published_.live, ticks = liveTicks_,
                       platform = platform_, mainQueue = mainQueue_] {
        if (weak.expired()) return;
        LiveSample sample;
        try {
            sample = collectLive(previous, ticks->ticks, *platform);
        } catch (...) {
            sample = {previous, std::nullopt};
        }
        if (sample.ticks) ticks->ticks = std::move(*sample.ticks);
        const HistoryPoint point =
            historyPoint(sample.metrics, time, sample.cpuMeasured, sample.memMeasured);
        auto self = weak.lock();
        if (!self) return;
        const bool measured = sample.cpuMeasured || sample.memMeasured;
        mainQueue([self, m = std::move(sample.metrics), point, measured]() mutable {
            // The history holds what was measured: a sample that measured nothing adds no
            // point (the next one that does leaves the gap).
            if (measured) {
                self->history_.append(point);
            } else {
                // Nothing new: the sample published last stands whole (samples asked for in
                // a row all start from the record as it stood when they were asked for).
                LiveMetrics kept = self->published_.live;
                kept.uptime = m.uptime;
                kept.memTotalBytes = m.memTotalBytes;
                m = std::move(kept);
            }
            ++self->liveSamples_;
            self->assign(Field::live, self->published_.live, std::move(m));
        });
    });
}

bool SystemService::updateSensors() {
    const double now = clock_ ? clock_() : historyClock();
    // A timer that fires every second may come a little early.
    if (sensorsBusy_ || (sensorsAskedAt_ && now - *sensorsAskedAt_ < 0.95)) return false;
    sensorsBusy_ = true;
    sensorsAskedAt_ = now;
    std::weak_ptr<SystemService> weak = weak_from_this();
    queue_.submit(
        [weak, platform = platform_, mainQueue = mainQueue_, previous = published_.sensors, now] {
            if (weak.expired()) return;
            auto readings =
                guarded([&] { return collectSensors(previous, platform->sampleSensors()); });
            auto self = weak.lock();
            if (!self) return;
            // The task takes the only strong reference this worker holds, so the service is never
            // destroyed here after main() has let it go.
            mainQueue([self = std::move(self), readings = std::move(readings), now]() mutable {
                self->throughput_.append(readings, now);
                self->assign(Field::sensors, self->published_.sensors, std::move(readings));
                self->sensorsBusy_ = false;
            });
        });
    return true;
}

}  // namespace orvane
