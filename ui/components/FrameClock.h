// One timer for every running animation of the program. Animations subscribe while they move
// and are called once per frame, all in the same timer event, so their repaints reach the
// screen together in one pass. Frames come at about 30 per second, which is smooth for the
// short ease-out sweeps of the gauges and bars and costs half the frames of 60.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

namespace orvane {

class FrameClock : public QObject {
    Q_OBJECT
  public:
    static constexpr int kFrameMs = 33;

    // `frame` is called with the clock's time; it returns false once it needs no more frames.
    using Frame = std::function<bool(qint64 nowMs)>;

    // The main thread's clock.
    static FrameClock& instance();

    explicit FrameClock(QObject* parent = nullptr);

    // Milliseconds on the clock's monotonic time line.
    qint64 now() const;
    // Calls `frame` on every tick until it returns false or `key` unsubscribes. Subscribing
    // again under the same key replaces the earlier callback.
    void subscribe(const void* key, Frame frame);
    void unsubscribe(const void* key);
    bool isSubscribed(const void* key) const;
    int subscriberCount() const { return static_cast<int>(entries_.size()); }
    // Whether the timer runs (only while something is subscribed).
    bool isTicking() const { return timer_.isActive(); }
    int interval() const { return timer_.interval(); }

    // Runs one frame now (the timer does this on its own; tests call it directly).
    void tick();
    // Replaces the time source (tests); an empty function restores the monotonic clock.
    void setTimeSource(std::function<qint64()> source);

  private:
    struct Entry {
        const void* key;
        std::shared_ptr<Frame> frame;
    };

    QTimer timer_;
    QElapsedTimer elapsed_;
    std::function<qint64()> source_;
    std::vector<Entry> entries_;
};

}  // namespace orvane
