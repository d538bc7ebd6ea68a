// Where the application's messages to the user go: a warning box over a window, unless a
// sink is set in its place (tests).
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace orvane {

class Messages {
  public:
    using Sink = std::function<void(const QString& title, const QString& text)>;

    // `owner` gives the window a box opens over (asked when the box opens).
    explicit Messages(std::function<QWidget*()> owner) : owner_(std::move(owner)) {}

    void setSink(Sink sink) { sink_ = std::move(sink); }
    // Says `title` with `text` as its detail.
    void tell(const QString& title, const QString& text) const;

  private:
    std::function<QWidget*()> owner_;
    Sink sink_;
};

}  // namespace orvane
