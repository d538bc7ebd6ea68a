#include "ui/components/Motion.h"

#include <algorithm>
#include <cmath>

#include "ui/components/FrameClock.h"

namespace orvane {

Motion::Motion(int durationMs, Repaint repaint, FrameClock* clock)
    : clock_(clock ? *clock : FrameClock::instance()),
      duration_(std::max(0, durationMs)),
      repaint_(std::move(repaint)) {}

Motion::~Motion() {
    if (running_) clock_.unsubscribe(this);
}

void Motion::setDuration(int ms) {
    duration_ = std::max(0, ms);
}

double Motion::easeOut(double t) {
    t = std::clamp(t, 0.0, 1.0);
    const double u = 1 - t;
    return 1 - u * u * u;
}

void Motion::moveTo(double target, double pixelsPerUnit, bool animate) {
    if (std::isnan(target)) target = 0;
    pixelsPerUnit_ = std::abs(pixelsPerUnit);
    const bool seen = std::abs(target - value_) * pixelsPerUnit_ >= kMinAnimatedPx;
    if (!animate || duration_ <= 0 || !seen) {
        jumpTo(target);
        return;
    }
    from_ = value_;
    to_ = target;
    start_ = clock_.now();
    running_ = true;
    // Subscribing again (retargeting) replaces the earlier frame callback and its due time.
    clock_.subscribe(
        this, [this](qint64 now) { return frame(now); }, nextDue());
}

void Motion::jumpTo(double target) {
    if (std::isnan(target)) target = 0;
    if (running_) {
        running_ = false;
        clock_.unsubscribe(this);
    }
    from_ = to_ = target;
    show(target);
}

std::optional<qint64> Motion::frame(qint64 now) {
    const double t = duration_ > 0 ? double(now - start_) / duration_ : 1.0;
    if (t >= 1) {
        running_ = false;
        show(to_);
        return std::nullopt;
    }
    const double v = from_ + (to_ - from_) * easeOut(t);
    // Within a pixel of the target the rest of the ease-out would not show: land there now and
    // let the clock stop, instead of waking it for the slow tail.
    if (std::abs(to_ - v) * pixelsPerUnit_ < kMinStepPx) {
        running_ = false;
        show(to_);
        return std::nullopt;
    }
    // Skip frames the eye would not see.
    if (std::abs(v - value_) * pixelsPerUnit_ >= kMinStepPx) show(v);
    return nextDue();
}

qint64 Motion::nextDue() const {
    const qint64 end = start_ + duration_;
    const double total = std::abs(to_ - from_) * pixelsPerUnit_;
    if (total <= 0) return end;
    // The next pixel of movement, or the point within a pixel of the target where it lands.
    const double p =
        std::min(std::abs(value_ - from_) * pixelsPerUnit_ + kMinStepPx, total - kMinStepPx) /
        total;
    if (p >= 1) return end;
    // Invert the ease-out: 1 - (1 - t)^3 = p.
    const double t = 1 - std::cbrt(1 - p);
    return std::min(end, start_ + static_cast<qint64>(std::ceil(t * duration_)));
}

void Motion::show(double v) {
    if (v == value_) return;
    const double old = value_;
    value_ = v;
    if (repaint_) repaint_(old, v);
}

}  // namespace orvane
