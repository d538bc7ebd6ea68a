// A drawn value (an arc's fill, a bar's level) that eases out from where it is to each new
// target over a fixed duration, driven by the shared FrameClock. Three rules keep it cheap: a
// change too small to read as motion (under three pixels) jumps without animating, a frame
// that would move the drawing by less than a pixel is skipped, and once the drawing is within a
// pixel of the target it lands there and stops, so the slow tail of the ease-out costs nothing. The
// owner repaints only the part between the old and the new value.
#pragma once

#include <QtGlobal>
#include <functional>
#include <optional>

namespace orvane {

class FrameClock;

class Motion {
  public:
    // Smallest movement, in pixels, worth a frame.
    static constexpr double kMinStepPx = 1.0;
    // Smallest change, in pixels, worth an animation: a step of a pixel or two eased over a few
    // frames does not read as motion, and jumping spares those frames (a live page sees such
    // small changes every second).
    static constexpr double kMinAnimatedPx = 3.0;

    // Called after the shown value moved from `from` to `to`.
    using Repaint = std::function<void(double from, double to)>;

    // `clock` null: the main thread's FrameClock.
    Motion(int durationMs, Repaint repaint, FrameClock* clock = nullptr);
    ~Motion();
    Motion(const Motion&) = delete;
    Motion& operator=(const Motion&) = delete;

    // The value drawn right now, and the one it moves towards.
    double value() const { return value_; }
    double target() const { return to_; }
    bool isRunning() const { return running_; }
    int duration() const { return duration_; }
    void setDuration(int ms);

    // Moves towards `target`. `pixelsPerUnit` converts a change of the value into pixels on
    // screen. With `animate` false, a zero duration or a change under kMinAnimatedPx pixels the
    // value jumps there at once.
    void moveTo(double target, double pixelsPerUnit, bool animate = true);
    // Sets the value at once, stopping any animation.
    void jumpTo(double target);

    // The ease-out curve (cubic): 0 at t = 0, 1 at t = 1, fast start, gentle finish.
    static double easeOut(double t);

  private:
    std::optional<qint64> frame(qint64 now);
    // When the drawing will next have moved kMinStepPx pixels (or the end, if sooner).
    qint64 nextDue() const;
    void show(double v);

    FrameClock& clock_;
    int duration_;
    Repaint repaint_;
    double value_ = 0;
    double from_ = 0;
    double to_ = 0;
    double pixelsPerUnit_ = 1;
    qint64 start_ = 0;
    bool running_ = false;
};

}  // namespace orvane
