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
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &FrameClock::tick);
}

qint64 FrameClock::now() const {
    return source_ ? source_() : elapsed_.elapsed();
}

void FrameClock::subscribe(const void* key, Frame frame, qint64 due) {
    auto shared = std::make_shared<Frame>(std::move(frame));
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [key](const Entry& e) { return e.key == key; });
    if (it != entries_.end()) {
        it->frame = std::move(shared);
        it->due = due;
    } else {
        entries_.push_back({key, std::move(shared), due});
    }
    schedule();
}

void FrameClock::unsubscribe(const void* key) {
    std::erase_if(entries_, [key](const Entry& e) { return e.key == key; });
    schedule();
}

bool FrameClock::isSubscribed(const void* key) const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [key](const Entry& e) { return e.key == key; });
}

void FrameClock::tick() {
    const qint64 t = now();
    lastTick_ = t;
    // Callbacks may subscribe or unsubscribe (themselves or others): walk a snapshot, and
    // touch an entry only if it still holds the callback that was called.
    std::vector<std::shared_ptr<Frame>> due;
    for (const Entry& e : entries_) {
        if (e.due <= t + kFrameMs / 2) due.push_back(e.frame);
    }
    for (const auto& frame : due) {
        auto held = [&](const Entry& x) { return x.frame == frame; };
        if (std::none_of(entries_.begin(), entries_.end(), held)) continue;
        const std::optional<qint64> next = (*frame)(t);
        auto it = std::find_if(entries_.begin(), entries_.end(), held);
        if (it == entries_.end()) continue;
        if (next) {
            it->due = *next;
        } else {
            entries_.erase(it);
        }
    }
    schedule();
}

void FrameClock::schedule() {
    if (entries_.empty()) {
        timer_.stop();
        return;
    }
    qint64 next = std::min_element(entries_.begin(), entries_.end(), [](auto& a, auto& b) {
                      return a.due < b.due;
                  })->due;
    // Never more often than the frame rate.
    if (lastTick_) next = std::max(next, *lastTick_ + kFrameMs);
    const qint64 wait = std::max<qint64>(0, next - now());
    timer_.start(static_cast<int>(std::min<qint64>(wait, 60'000)));
}

void FrameClock::setTimeSource(std::function<qint64()> source) {
    source_ = std::move(source);
    lastTick_.reset();
}

}  // namespace orvane
