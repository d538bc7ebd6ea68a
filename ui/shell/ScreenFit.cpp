#include "ui/shell/ScreenFit.h"

#include <QEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QWindow>

#include "ui/shell/ContentView.h"

namespace orvane {

namespace {

// Below this nothing is readable; a screen smaller still is not worth shrinking for.
constexpr QSize kFloor{480, 360};

QSize frameOf(const QMainWindow* w) {
    const QSize frame = w->frameGeometry().size() - w->geometry().size();
    return frame.isEmpty() ? ScreenFit::kAssumedFrame : frame;
}

// The menu bar's height where it is part of the window (not a Mac's or an exported global one).
int chromeHeight(QMainWindow* w) {
    QWidget* menu = w->menuWidget();
    if (!menu) return 0;
    if (auto* bar = qobject_cast<QMenuBar*>(menu); bar && bar->isNativeMenuBar()) return 0;
    return menu->sizeHint().height();
}

void fit(QMainWindow* w) {
    const QScreen* screen = w->screen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    const QSize frame = frameOf(w);
    const int chrome = chromeHeight(w);
    const QSize room = area.size() - frame - QSize(0, chrome);
    const QSize content = ScreenFit::minimumWithin(
        QSize(ContentView::kMinimumWidth, ContentView::kMinimumHeight), room);
    if (QWidget* central = w->centralWidget(); central && central->minimumSize() != content)
        central->setMinimumSize(content);
    const QSize minimum = content + QSize(0, chrome);
    if (w->minimumSize() != minimum) w->setMinimumSize(minimum);
    // A window larger than the free area (first opened, or moved to a smaller screen) is
    // brought within it.
    const QSize fitted = w->size().boundedTo(area.size() - frame).expandedTo(minimum);
    if (fitted != w->size()) w->resize(fitted);
    if (w->isVisible() && !area.contains(w->frameGeometry())) {
        QRect frameRect = w->frameGeometry();
        frameRect.moveLeft(std::clamp(frameRect.left(), area.left(),
                                      std::max(area.left(), area.right() - frameRect.width() + 1)));
        frameRect.moveTop(std::clamp(frameRect.top(), area.top(),
                                     std::max(area.top(), area.bottom() - frameRect.height() + 1)));
        w->move(frameRect.topLeft());
    }
}

class Keeper : public QObject {
  public:
    explicit Keeper(QMainWindow* w) : QObject(w), window_(w) { w->installEventFilter(this); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != window_) return false;
        switch (event->type()) {
            case QEvent::Show:
                if (QWindow* handle = window_->windowHandle(); handle && !screenWatched_) {
                    screenWatched_ = true;
                    connect(handle, &QWindow::screenChanged, this, [this] { fit(window_); });
                }
                fit(window_);
                break;
            // A new content view (another machine shown) starts from the full minimum.
            case QEvent::LayoutRequest:
                fit(window_);
                break;
            default:
                break;
        }
        return false;
    }

  private:
    QMainWindow* window_;
    bool screenWatched_ = false;
};

}  // namespace

QSize ScreenFit::minimumWithin(QSize wanted, QSize room) {
    return wanted.boundedTo(room).expandedTo(kFloor.boundedTo(wanted));
}

void ScreenFit::keep(QMainWindow* window) {
    static const char* const kKept = "orvaneScreenFit";
    if (!window || window->property(kKept).toBool()) return;
    window->setProperty(kKept, true);
    new Keeper(window);
    fit(window);
}

}  // namespace orvane
