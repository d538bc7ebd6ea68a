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
    svc->published_.live.memTotalBytes = svc->platform_->installedMemory();
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
            self->assign(Field::hardware, self->published_.hardware, std::move(hardware));
            self->assign(Field::battery, self->published_.battery, std::move(battery));
            self->assign(Field::volumes, self->published_.volumes, std::move(volumes));
            self->assign(Field::displays, self->published_.displays, std::move(displays));
            self->assign(Field::graphics, self->published_.graphics, std::move(graphics));
            self->assign(Field::loaded, self->published_.loaded, true);
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
            self->assign(Field::battery, self->published_.battery, std::move(battery));
            self->assign(Field::volumes, self->published_.volumes, std::move(volumes));
            self->assign(Field::displays, self->published_.displays, std::move(displays));
            self->assign(Field::graphics, self->published_.graphics, std::move(graphics));
            self->dynamicBusy_ = false;
        });
    });
}

void SystemService::updateLive() {
    const double time = clock_ ? clock_() : historyClock();
    LiveSample sample;
    try {
        sample = collectLive(published_.live, prevCPUTicks_, *platform_);
    } catch (...) {
        sample = {published_.live, std::nullopt};
    }
    if (sample.ticks) prevCPUTicks_ = std::move(*sample.ticks);
    const HistoryPoint point =
        historyPoint(sample.metrics, time, sample.cpuMeasured, sample.memMeasured);
    mainQueue_([self = shared_from_this(), m = std::move(sample.metrics), point]() mutable {
        self->assign(Field::live, self->published_.live, std::move(m));
        self->history_.append(point);
    });
}

}  // namespace orvane
