// One timer for every running animation of the program. Animations subscribe while they move
// and say when they next need a frame; the clock wakes only then, never more often than about
// 30 times a second, and serves every animation that is due (or nearly due) in the same timer
// event, so their repaints reach the screen together in one pass. 30 frames a second is smooth
// for the short ease-out sweeps of the gauges and bars and costs half the frames of 60.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace orvane {

class FrameClock : public QObject {
    Q_OBJECT
  public:
    static constexpr int kFrameMs = 33;

    // `frame` is called with the clock's time; it returns when it wants its next frame, or
    // nothing once it needs no more frames.
    using Frame = std::function<std::optional<qint64>(qint64 nowMs)>;

    // The main thread's clock.
    static FrameClock& instance();

    explicit FrameClock(QObject* parent = nullptr);

    // Milliseconds on the clock's monotonic time line.
    qint64 now() const;
    // Calls `frame` from time `due` on until it returns nothing or `key` unsubscribes.
    // Subscribing again under the same key replaces the earlier callback.
    void subscribe(const void* key, Frame frame, qint64 due);
    void unsubscribe(const void* key);
    bool isSubscribed(const void* key) const;
    int subscriberCount() const { return static_cast<int>(entries_.size()); }
    // Whether a frame is scheduled (only while something is subscribed).
    bool isTicking() const { return timer_.isActive(); }

    // Runs one frame now for everything due within half a frame (the timer does this on its
    // own; tests call it directly).
    void tick();
    // Replaces the time source (tests); an empty function restores the monotonic clock.
    void setTimeSource(std::function<qint64()> source);

  private:
    struct Entry {
        const void* key;
        std::shared_ptr<Frame> frame;
        qint64 due;
    };
    void schedule();

    QTimer timer_;
    QElapsedTimer elapsed_;
    std::function<qint64()> source_;
    std::vector<Entry> entries_;
    std::optional<qint64> lastTick_;
};

}  // namespace orvane
