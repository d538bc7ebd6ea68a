// Event filters that tell what a widget was asked to do: repaint which regions, or receive
// events of some type.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QPaintEvent>
#include <QRegion>
#include <QWidget>
#include <algorithm>

namespace orvane {

// Collects the regions a widget is asked to repaint.
struct PaintSpy : QObject {
    QRegion painted;
    int events = 0;
    int largestArea = 0;
    explicit PaintSpy(QWidget* w) { w->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) {
            const QRegion r = static_cast<QPaintEvent*>(e)->region();
            painted += r;
            largestArea =
                std::max(largestArea, r.boundingRect().width() * r.boundingRect().height());
            ++events;
        }
        return false;
    }
    void reset() {
        QCoreApplication::processEvents();
        painted = {};
        events = 0;
        largestArea = 0;
    }
};

// Counts the events of one type a widget receives.
class EventCounter : public QObject {
  public:
    EventCounter(QWidget* w, QEvent::Type type) : type_(type) { w->installEventFilter(this); }
    int count = 0;

  protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == type_) ++count;
        return false;
    }

  private:
    QEvent::Type type_;
};

}  // namespace orvane
