#include "ui/app/JournalController.h"

#include <QAction>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSettings>

#include "ui/app/Messages.h"

namespace orvane {

JournalController::JournalController(const Messages& messages, std::function<QWidget*()> window,
                                     QObject* parent)
    : QObject(parent),
      messages_(messages),
      window_(std::move(window)),
      record_(new QAction(tr("Record Health History"), this)),
      clear_(new QAction(tr("Clear History…"), this)) {
    options_.journal = defaultJournalPath();
    record_->setCheckable(true);
    record_->setChecked(recordingStored());
    connect(record_, &QAction::toggled, this, &JournalController::setRecording);
    connect(clear_, &QAction::triggered, this, &JournalController::clear);
}

bool JournalController::recordingStored() {
    return QSettings().value(QLatin1String(kRecordKey), true).toBool();
}

void JournalController::setRecording(bool on) {
    QSettings().setValue(QLatin1String(kRecordKey), on);
    if (record_->isChecked() != on) record_->setChecked(on);
    if (auto svc = home_.lock()) svc->setJournalRecording(on && allowed_);
}

void JournalController::attach(const std::shared_ptr<SystemService>& svc,
                               const std::shared_ptr<const Platform>& platform) {
    JournalKeeper::Options o = options_;
    o.record = allowed_ && recordingStored();
    o.readOnly = !allowed_;
    auto keeper = JournalKeeper::forPlatform(platform, root_, std::move(o));
    if (!keeper->capture()) home_ = svc;
    svc->keepJournal(std::move(keeper),
                     [self = QPointer<JournalController>(this)](const JournalNotice& n) {
                         if (self) self->tell(n);
                     });
}

void JournalController::clear() {
    if (!askToClear()) return;
    // Through the recording service's queue, so no recording runs at the same time.
    if (auto svc = home_.lock()) {
        svc->clearJournal();
        return;
    }
    if (const std::string error = Journal::forget(options_.journal); !error.empty())
        tell({JournalNotice::Kind::notCleared, error});
}

bool JournalController::askToClear() const {
    if (confirm_) return confirm_();
    QMessageBox box(QMessageBox::Warning, tr("Clear History"), tr("Clear the health history?"),
                    QMessageBox::NoButton, window_());
#if defined(Q_OS_MACOS)
    box.setInformativeText(
        tr("The recorded points of the battery and the volumes are deleted "
           "from this Mac. This cannot be undone."));
#else
    box.setInformativeText(
        tr("The recorded points of the battery and the volumes are deleted "
           "from this computer. This cannot be undone."));
#endif
    QPushButton* clear = box.addButton(tr("Clear History"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == clear;
}

void JournalController::tell(const JournalNotice& notice) const {
    QString title;
    switch (notice.kind) {
        case JournalNotice::Kind::movedAside:
            title = tr("The health history was started afresh");
            break;
        case JournalNotice::Kind::notRecorded:
            title = tr("The health history cannot be recorded");
            break;
        case JournalNotice::Kind::notCleared:
            title = tr("The health history could not be cleared");
            break;
    }
    messages_.tell(title, QString::fromStdString(notice.detail));
}

}  // namespace orvane
