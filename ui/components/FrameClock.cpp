#include "ui/components/FrameClock.h"

#include <algorithm>

namespace orvane {

FrameClock& FrameClock::instance() {
    static FrameClock* clock = new FrameClock;  // lives as long as the program
    return *clock;
}

FrameClock::FrameClock(QObject* parent) : QObject(parent) {
    elapsed_.start();
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(kFrameMs);
    connect(&timer_, &QTimer::timeout, this, &FrameClock::tick);
}

qint64 FrameClock::now() const {
    return source_ ? source_() : elapsed_.elapsed();
}

void FrameClock::subscribe(const void* key, Frame frame) {
    auto shared = std::make_shared<Frame>(std::move(frame));
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [key](const Entry& e) { return e.key == key; });
    if (it != entries_.end()) {
        it->frame = std::move(shared);
    } else {
        entries_.push_back({key, std::move(shared)});
    }
    if (!timer_.isActive()) timer_.start();
}

void FrameClock::unsubscribe(const void* key) {
    std::erase_if(entries_, [key](const Entry& e) { return e.key == key; });
    if (entries_.empty()) timer_.stop();
}

bool FrameClock::isSubscribed(const void* key) const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [key](const Entry& e) { return e.key == key; });
}

void FrameClock::tick() {
    const qint64 t = now();
    // Callbacks may subscribe or unsubscribe (themselves or others): walk a snapshot, and
    // drop an entry only if it still holds the callback that asked to stop.
    const std::vector<Entry> snapshot = entries_;
    for (const Entry& e : snapshot) {
        auto it = std::find_if(entries_.begin(), entries_.end(),
                               [&](const Entry& x) { return x.frame == e.frame; });
        if (it == entries_.end()) continue;
        if (!(*e.frame)(t)) {
            std::erase_if(entries_, [&](const Entry& x) { return x.frame == e.frame; });
        }
    }
    if (entries_.empty()) timer_.stop();
}

void FrameClock::setTimeSource(std::function<qint64()> source) {
    source_ = std::move(source);
}

}  // namespace orvane
