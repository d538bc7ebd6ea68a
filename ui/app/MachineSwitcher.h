// Which machine the window shows: the one the application started with, or a capture opened
// with "Open Capture…" or dropped on the window, until "Show This Computer" goes back. Keeps
// the service of each and names the window after the capture shown.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "service/SystemService.h"
#include "service/platform/Platform.h"

class QWidget;

namespace orvane {

class Messages;

class MachineSwitcher : public QObject {
    Q_OBJECT
  public:
    // `home` is the machine the application started with; a directory that is not a capture
    // is said through `messages`, over the window `window` gives.
    MachineSwitcher(std::shared_ptr<const Platform> home, const Messages& messages,
                    std::function<QWidget*()> window, QObject* parent = nullptr);
    // Stops every service it made before letting them go, so none is left to a worker thread
    // to destroy after the application has quit.
    ~MachineSwitcher() override;

    // The service of the machine shown, created on first use.
    std::shared_ptr<SystemService> svc();
    // Called with each service created, before it is used, and its machine.
    using Prepare = std::function<void(const std::shared_ptr<SystemService>&,
                                       const std::shared_ptr<const Platform>&)>;
    void setPrepare(Prepare prepare) { prepare_ = std::move(prepare); }

    // "Open Capture…": asks for a directory, then opens it.
    void choose();
    // Shows the machine captured in `dir`. A directory that is not a readable capture is
    // said in a message, and the machine shown stays.
    bool open(const QString& dir);
    // Back to the machine the application started with.
    void showHome();

    // The name of the capture opened (its directory's name); empty for the home machine.
    QString captureName() const { return captureName_; }
    // The name of the capture the application started with (`--replay`), for the title;
    // empty for this machine.
    void setStartCaptureName(const QString& name) { startCaptureName_ = name; }
    // "Orvane", or the name of the capture shown and "Orvane".
    QString windowTitle() const;

    // Capture directories dropped on `window` open as with "Open Capture…".
    void acceptDrops(QWidget* window);

    // The commands' names, for their menu items.
    static QString openText();
    static QString showHomeText();

  signals:
    // Another machine is shown: svc() is its service.
    void machineChanged();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void show(std::shared_ptr<const Platform> platform, const QString& captureName);

    std::shared_ptr<const Platform> platform_;  // of the machine shown
    std::shared_ptr<SystemService> svc_;
    // The machine the application started with, kept while a capture is shown.
    std::shared_ptr<const Platform> home_;
    std::shared_ptr<SystemService> homeSvc_;
    // Services of captures shown before, which a read in progress may still hold.
    std::vector<std::weak_ptr<SystemService>> retired_;
    QString captureName_;
    QString startCaptureName_;
    const Messages& messages_;
    std::function<QWidget*()> window_;
    Prepare prepare_;
};

}  // namespace orvane
