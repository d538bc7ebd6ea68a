// The health history's commands and setting: "Record Health History" (a checkable command whose
// state is kept with the appearance choice) and "Clear History…" with its confirmation. Gives
// each service its journal keeper: this machine's records into the journal, a capture's only
// shows its own points; journal faults are said through the application's messages.
#pragma once

#include <QObject>
#include <QString>
#include <filesystem>
#include <functional>
#include <memory>

#include "service/JournalKeeper.h"
#include "service/SystemService.h"

class QAction;
class QWidget;

namespace orvane {

class Messages;

class JournalController : public QObject {
    Q_OBJECT
  public:
    // The settings key of "Record Health History" (true unless stored false).
    static constexpr const char* kRecordKey = "recordHealthHistory";
    // Asks whether to clear the history; true to go ahead.
    using Confirm = std::function<bool()>;

    JournalController(const Messages& messages, std::function<QWidget*()> window,
                      QObject* parent = nullptr);

    QAction* recordAction() const { return record_; }
    QAction* clearAction() const { return clear_; }

    // The stored setting.
    static bool recordingStored();
    // Stores the setting and applies it to the service of this machine.
    void setRecording(bool on);
    // "Clear History…": asks, then deletes the journal.
    void clear();

    // Where and how services keep the journal; for tests, and for runs that must not record
    // (screenshots, a machine read from another root than /).
    JournalKeeper::Options& options() { return options_; }
    void setRecordingAllowed(bool allowed) { allowed_ = allowed; }
    void setRoot(const std::filesystem::path& root) { root_ = root; }
    void setConfirm(Confirm confirm) { confirm_ = std::move(confirm); }

    // Gives a new service of `platform` its keeper.
    void attach(const std::shared_ptr<SystemService>& svc,
                const std::shared_ptr<const Platform>& platform);

  private:
    bool askToClear() const;
    void tell(const JournalNotice& notice) const;

    const Messages& messages_;
    std::function<QWidget*()> window_;
    QAction* record_;
    QAction* clear_;
    JournalKeeper::Options options_;
    std::filesystem::path root_ = "/";
    bool allowed_ = true;
    Confirm confirm_;
    // The service that records into the journal, while it lives.
    std::weak_ptr<SystemService> home_;
};

}  // namespace orvane
