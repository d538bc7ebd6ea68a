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
    const bool visible = std::abs(target - value_) * pixelsPerUnit_ >= kMinStepPx;
    if (!animate || duration_ <= 0 || !visible) {
        jumpTo(target);
        return;
    }
    from_ = value_;
    to_ = target;
    start_ = clock_.now();
    if (!running_) {
        running_ = true;
        clock_.subscribe(this, [this](qint64 now) { return frame(now); });
    }
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

bool Motion::frame(qint64 now) {
    const double t = duration_ > 0 ? double(now - start_) / duration_ : 1.0;
    if (t >= 1) {
        running_ = false;
        show(to_);
        return false;
    }
    const double v = from_ + (to_ - from_) * easeOut(t);
    // Skip frames the eye would not see; the last frame always lands on the target.
    if (std::abs(v - value_) * pixelsPerUnit_ >= kMinStepPx) show(v);
    return true;
}

void Motion::show(double v) {
    if (v == value_) return;
    const double old = value_;
    value_ = v;
    if (repaint_) repaint_(old, v);
}

}  // namespace orvane
