#include "service/SystemService.h"

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
    svc->live_.memTotalBytes = svc->platform_->installedMemory();
    svc->updateLive();
    return svc;
}

SystemService::SystemService(std::shared_ptr<const Platform> platform, MainQueue mainQueue,
                             Clock clock)
    : platform_(std::move(platform)), mainQueue_(std::move(mainQueue)), clock_(std::move(clock)) {}

SystemService::~SystemService() = default;

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
    notify(field);
    slot = std::move(value);
}

void SystemService::loadAll() {
    std::weak_ptr<SystemService> weak = weak_from_this();
    queue_.submit([weak, platform = platform_, mainQueue = mainQueue_] {
        if (weak.expired()) return;
        auto hardware = guarded([&] { return collectHardware(platform->hardware()); });
        auto battery = guarded([&] { return collectBattery(platform->power()); });
        auto volumes = guarded([&] { return collectVolumes(platform->volumes()); });
        auto [displays, graphics] = guarded([&] { return collectDisplays(platform->graphics()); });
        auto self = weak.lock();
        if (!self) return;
        mainQueue([self, hardware = std::move(hardware), battery = std::move(battery),
                   volumes = std::move(volumes), displays = std::move(displays),
                   graphics = std::move(graphics)]() mutable {
            self->assign(Field::hardware, self->hardware_, std::move(hardware));
            self->assign(Field::battery, self->battery_, std::move(battery));
            self->assign(Field::volumes, self->volumes_, std::move(volumes));
            self->assign(Field::displays, self->displays_, std::move(displays));
            self->assign(Field::graphics, self->graphics_, std::move(graphics));
            self->assign(Field::loaded, self->loaded_, true);
        });
    });
}

void SystemService::refresh() {
    loadAll();
    updateLive();
}

void SystemService::refreshDynamic() {
    if (dynamicBusy_) return;
    dynamicBusy_ = true;
    std::weak_ptr<SystemService> weak = weak_from_this();
    queue_.submit([weak, platform = platform_, mainQueue = mainQueue_] {
        if (weak.expired()) return;
        auto battery = guarded([&] { return collectBattery(platform->power()); });
        auto volumes = guarded([&] { return collectVolumes(platform->volumes()); });
        auto [displays, graphics] = guarded([&] { return collectDisplays(platform->graphics()); });
        auto self = weak.lock();
        if (!self) return;
        mainQueue([self, battery = std::move(battery), volumes = std::move(volumes),
                   displays = std::move(displays), graphics = std::move(graphics)]() mutable {
            self->assign(Field::battery, self->battery_, std::move(battery));
            self->assign(Field::volumes, self->volumes_, std::move(volumes));
            self->assign(Field::displays, self->displays_, std::move(displays));
            self->assign(Field::graphics, self->graphics_, std::move(graphics));
            self->dynamicBusy_ = false;
        });
    });
}

void SystemService::updateLive() {
    const double time = clock_ ? clock_() : historyClock();
    LiveSample sample;
    try {
        sample = collectLive(live_, prevCPUTicks_, *platform_);
    } catch (...) {
        sample = {live_, std::nullopt};
    }
    if (sample.ticks) prevCPUTicks_ = std::move(*sample.ticks);
    const HistoryPoint point =
        historyPoint(sample.metrics, time, sample.cpuMeasured, sample.memMeasured);
    mainQueue_([self = shared_from_this(), m = std::move(sample.metrics), point]() mutable {
        self->assign(Field::live, self->live_, std::move(m));
        self->history_.append(point);
    });
}

bool SystemService::updateSensors() {
    const double now = clock_ ? clock_() : historyClock();
    // A timer that fires every second may come a little early.
    if (sensorsBusy_ || (sensorsAskedAt_ && now - *sensorsAskedAt_ < 0.95)) return false;
    sensorsBusy_ = true;
    sensorsAskedAt_ = now;
    std::weak_ptr<SystemService> weak = weak_from_this();
    queue_.submit([weak, platform = platform_, mainQueue = mainQueue_, previous = sensors_] {
        if (weak.expired()) return;
        auto readings =
            guarded([&] { return collectSensors(previous, platform->sampleSensors()); });
        auto self = weak.lock();
        if (!self) return;
        // The task takes the only strong reference this worker holds, so the service is never
        // destroyed here after main() has let it go.
        mainQueue([self = std::move(self), readings = std::move(readings)]() mutable {
            self->assign(Field::sensors, self->sensors_, std::move(readings));
            self->sensorsBusy_ = false;
        });
    });
    return true;
}

}  // namespace orvane
