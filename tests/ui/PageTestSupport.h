// Helpers for the page tests: a service over a captured machine whose tool outputs can be
// replaced between collections, and waits on the event loop for published fields.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QObject>
#include <QTimer>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "service/SystemService.h"
#include "service/platform/ReplayPlatform.h"
#include "tests/ui/ReplayForwarder.h"
#include "ui/model/ServiceWatcher.h"

namespace orvane::pagetest {

inline std::string fixture(const std::string& name) {
    return std::string(ORVANE_FIXTURES) + "/" + name;
}

// A captured Mac whose tool outputs can be swapped while the service runs.
class SwappablePlatform final : public ReplayForwarder {
  public:
    using ReplayForwarder::ReplayForwarder;

    // Replaces the output of one capture file ("system_profiler-SPStorageDataType.json").
    void setOutput(const std::string& file, const std::string& text) {
        std::lock_guard lock(mutex_);
        overrides_[file] = std::vector<std::uint8_t>(text.begin(), text.end());
    }

    std::vector<std::uint8_t> runData(const std::string& path,
                                      const std::vector<std::string>& args) const override {
        {
            std::lock_guard lock(mutex_);
            auto it = overrides_.find(MacCaptureSource::fileFor(path, args));
            if (it != overrides_.end()) return it->second;
        }
        return ReplayForwarder::runData(path, args);
    }

  private:
    mutable std::mutex mutex_;
    std::map<std::string, std::vector<std::uint8_t>> overrides_;
};

// Runs the event loop until `done` holds or `ms` pass; returns whether it holds.
template <class Pred>
bool spinUntil(Pred done, int ms = 10000) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    // Let the other watchers of the same turn (the pages') deliver too.
    QCoreApplication::processEvents();
    return done();
}

// A service over a capture, with its main-thread queue on the test's thread.
struct ServiceRig {
    explicit ServiceRig(const std::string& fixtureName)
        : ServiceRig(std::make_shared<SwappablePlatform>(fixture(fixtureName)), nullptr) {}
    // Any other platform (a Linux tree under a root directory, say).
    explicit ServiceRig(std::shared_ptr<const Platform> other) : ServiceRig(nullptr, other) {}

    ServiceRig(std::shared_ptr<SwappablePlatform> mac, std::shared_ptr<const Platform> other)
        : platform(std::move(mac)),
          context(std::make_unique<QObject>()),
          svc(SystemService::create(platform ? macPlatformOf(platform) : std::move(other),
                                    qtMainQueue(context.get()))),
          watcher(std::make_unique<ServiceWatcher>(svc)) {
        QObject::connect(watcher.get(), &ServiceWatcher::changed,
                         [this](FieldSet f) { seen |= f; });
    }

    // A full load, waited for until it, the service's first live sample (taken on its own
    // queue) and every notification are through; a dynamic refresh; one live sample.
    bool load() { return run(&SystemService::loadAll, SystemService::Field::loaded); }
    bool refreshDynamic() {
        return run(&SystemService::refreshDynamic, SystemService::Field::volumes);
    }
    bool sample() { return run(&SystemService::updateLive, SystemService::Field::live); }

    bool run(void (SystemService::*start)(), SystemService::Field until) {
        seen = 0;
        (svc.get()->*start)();
        return spinUntil([&] {
            return (seen & fieldBit(until)) != 0 &&
                   (until != SystemService::Field::loaded || svc->liveSamples() > 0);
        });
    }

    std::shared_ptr<SwappablePlatform> platform;
    std::unique_ptr<QObject> context;
    std::shared_ptr<SystemService> svc;
    std::unique_ptr<ServiceWatcher> watcher;
    FieldSet seen = 0;
};

}  // namespace orvane::pagetest
