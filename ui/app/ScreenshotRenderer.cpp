#include "ui/app/ScreenshotRenderer.h"

#include <QCoreApplication>
#include <QDir>
#include <QLayout>
#include <QMainWindow>
#include <QTimer>

#include "ui/app/OrvaneApp.h"
#include "ui/pages/AboutView.h"
#include "ui/paint/Theme.h"
#include "ui/shell/ContentView.h"

namespace orvane {
namespace {

constexpr int kPagesPerScheme = 6;                    // then the About window
constexpr int kPictures = 2 * (kPagesPerScheme + 1);  // light, then dark
constexpr int kPageSettleMs = 250;
constexpr int kAboutSettleMs = 150;
constexpr int kPollMs = 50;
constexpr int kLoadTimeoutMs = 20000;
constexpr int kSensorFills = 121;  // two minutes of rates take one sample more
constexpr int kSensorWaitLimit = 5000;

}  // namespace

ScreenshotRenderer::ScreenshotRenderer(OrvaneApp& app, const QString& dir, const QSize& size,
                                       bool fillHistory)
    : app_(app), dir_(dir), size_(size), fillHistory_(fillHistory) {}

ScreenshotRenderer::~ScreenshotRenderer() = default;

void ScreenshotRenderer::start() {
    if (!QDir().mkpath(dir_)) {
        QMetaObject::invokeMethod(
            this, [this] { emit finished(false); }, Qt::QueuedConnection);
        return;
    }
    QMainWindow* w = app_.mainWindow();
    w->resize(size_.expandedTo(w->minimumSize()));
    w->show();

    // Wait for the first full load and the samples of the first two live ticks (bounded).
    ContentView* content = app_.contentView();
    tickers_[0] = content->ticker();
    tickers_[1] = content->slowTicker();
    for (int i = 0; i < 2; ++i)
        ticking_[i] = tickers_[i]->isActive();
    watcher_ = new ServiceWatcher(app_.svc(), this);
    connect(watcher_, &ServiceWatcher::changed, this, &ScreenshotRenderer::onChanged);
    poll_ = new QTimer(this);
    connect(poll_, &QTimer::timeout, this, [this] {
        if (app_.svc()->loaded() && liveSamples_ >= 2) shoot();
    });
    poll_->start(kPollMs);
    deadline_ = new QTimer(this);
    deadline_->setSingleShot(true);
    connect(deadline_, &QTimer::timeout, this, &ScreenshotRenderer::shoot);
    deadline_->start(kLoadTimeoutMs);
}

void ScreenshotRenderer::onChanged(FieldSet fields) {
    if (!(fields & fieldBit(SystemService::Field::live)) || ++liveSamples_ < 2) return;
    for (QTimer* t : tickers_)
        t->stop();
}

void ScreenshotRenderer::completeLayout(QWidget* window) {
    // A layout pass can ask for another (a wrapped text's height for its new width, a scroll
    // view's content): run them until none is pending, a bounded number of times.
    for (int pass = 0; pass < 8; ++pass) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        bool active = false;
        for (QLayout* l : window->findChildren<QLayout*>())
            active |= l->activate();
        if (!active) break;
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
}

void ScreenshotRenderer::shoot() {
    poll_->stop();
    deadline_->stop();
    delete watcher_;
    watcher_ = nullptr;
    for (QTimer* t : tickers_)
        t->stop();
    if (fillHistory_) {
        // A replayed machine's samples are the same whenever they are taken: take the rest of
        // two minutes' worth at once, a second apart on a stepped clock. The history keeps
        // only the samples the capture holds, as it does in the window.
        const std::shared_ptr<SystemService> svc = app_.svc();
        double now = svc->history().newest().time;
        svc->setClock([&now] { return now += 1; });
        for (std::size_t n = svc->history().size(); n < LiveHistory::kCapacity; ++n) {
            svc->updateLive();
            ++filledUntil_;
        }
        filledUntil_ += svc->liveSamples();
        svc->setClock(historyClock);
        sensorTime_ = now;
    }
    animations_ = Theme::animationsEnabled();
    Theme::setAnimationsEnabled(false);
    before_ = app_.contentView()->selection();
    settle();
}

// The samples are taken on the work queue: the pictures wait (bounded) until the last one is
// published, and then until what it posted has been delivered.
void ScreenshotRenderer::settle() {
    // Sensor samples are taken one at a time: the next once the last has been published.
    if (fillHistory_ && sensorFills_ < kSensorFills && ++sensorWaits_ < kSensorWaitLimit) {
        const std::shared_ptr<SystemService> svc = app_.svc();
        svc->setClock([this] { return sensorTime_ + 1; });
        if (svc->updateSensors()) {
            ++sensorFills_;
            sensorTime_ += 1;
        }
        svc->setClock(historyClock);
        QTimer::singleShot(1, this, &ScreenshotRenderer::settle);
        return;
    }
    if (app_.svc()->liveSamples() < filledUntil_ && ++settleWaits_ < kLoadTimeoutMs / kPollMs) {
        QTimer::singleShot(kPollMs, this, &ScreenshotRenderer::settle);
        return;
    }
    QTimer::singleShot(0, this, &ScreenshotRenderer::next);
}

// Shows what the next picture shows, and takes it once the window has settled.
void ScreenshotRenderer::next() {
    if (step_ == kPictures) {
        finish();
        return;
    }
    const bool dark = step_ > kPagesPerScheme;
    const int at = step_ % (kPagesPerScheme + 1);
    const QString suffix = dark ? QStringLiteral("dark") : QStringLiteral("light");
    if (at == 0) app_.appearance().setOverride(dark ? ColorScheme::dark : ColorScheme::light);
    ++step_;
    if (at < kPagesPerScheme) {
        const Section s = allSections()[static_cast<std::size_t>(at)];
        app_.contentView()->setSelection(s);
        QTimer::singleShot(kPageSettleMs, this, [this, s, suffix] {
            completeLayout(app_.mainWindow());
            ok_ &= app_.mainWindow()->grab().save(
                QDir(dir_).filePath(rawValue(s) + QLatin1Char('-') + suffix + ".png"));
            next();
        });
    } else {
        app_.openAbout();
        QTimer::singleShot(kAboutSettleMs, this, [this, suffix] {
            if (AboutView* about = app_.aboutWindow()) {
                completeLayout(about);
                ok_ &= about->grab().save(
                    QDir(dir_).filePath(QStringLiteral("about-") + suffix + ".png"));
            } else {
                ok_ = false;
            }
            next();
        });
    }
}

void ScreenshotRenderer::finish() {
    if (AboutView* about = app_.aboutWindow()) about->close();
    app_.contentView()->setSelection(before_);
    app_.appearance().setOverride(std::nullopt);
    Theme::setAnimationsEnabled(animations_);
    for (int i = 0; i < 2; ++i)
        if (ticking_[i]) tickers_[i]->start();
    emit finished(ok_);
}

}  // namespace orvane
