// Renders every section and the About window, light and dark, to PNG files, once the first
// full load and two live samples have been published; then no live sample or refresh lands
// any more, so every picture shows the same moment and a replayed machine gives the same
// pictures on every run. Runs in the application's event loop: start() returns at once and
// `finished` tells the outcome.
#pragma once

#include <QObject>
#include <QSize>
#include <QString>
#include <cstdint>
#include <functional>

#include "ui/model/ServiceWatcher.h"
#include "ui/shell/Section.h"

class QMainWindow;
class QWidget;
class QTimer;

namespace orvane {

class OrvaneApp;

class ScreenshotRenderer : public QObject {
    Q_OBJECT
  public:
    // Into `dir`, with the window at `size` (at least its minimum size). With `fillHistory`
    // (a replayed machine), the live history is filled first.
    ScreenshotRenderer(OrvaneApp& app, const QString& dir, const QSize& size = {},
                       bool fillHistory = false);
    ~ScreenshotRenderer() override;

    void start();

    // Runs every pending layout of `window` to its end, so a picture shows it laid out whole
    // however busy the machine is.
    static void completeLayout(QWidget* window);

  signals:
    // Every picture is taken; `ok` is false when a file could not be written. The window's
    // page, scheme and timers are back as they were.
    void finished(bool ok);

  private:
    void onChanged(FieldSet fields);
    void shoot();
    void settle();
    void next();
    void finish();

    OrvaneApp& app_;
    QString dir_;
    QSize size_;
    bool fillHistory_;
    ServiceWatcher* watcher_ = nullptr;
    QTimer* poll_ = nullptr;
    QTimer* deadline_ = nullptr;
    QTimer* tickers_[2] = {};
    bool ticking_[2] = {};
    int liveSamples_ = 0;
    // With a filled history: the time of its last sample, and how long it has been awaited.
    std::uint64_t filledUntil_ = 0;  // the live samples published once the fill is done
    int settleWaits_ = 0;
    // With a filled history, sensor samples too, on their own stepped clock.
    double sensorTime_ = 0;
    int sensorFills_ = 0;
    int sensorWaits_ = 0;
    bool animations_ = true;
    Section before_ = Section::overview;
    // The next picture: the sections in order, then the About window, light then dark.
    int step_ = 0;
    bool ok_ = true;
};

}  // namespace orvane
