#include "ui/app/MachineSwitcher.h"

#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QWidget>

#include "service/platform/ReplayPlatform.h"
#include "ui/app/Messages.h"
#include "ui/model/ServiceWatcher.h"

namespace orvane {
namespace {

// The one local directory a drag carries; empty for anything else.
QString draggedDirectory(const QMimeData* data) {
    if (!data || data->urls().size() != 1 || !data->urls().front().isLocalFile()) return {};
    const QString path = data->urls().front().toLocalFile();
    return QFileInfo(path).isDir() ? path : QString();
}

}  // namespace

MachineSwitcher::MachineSwitcher(std::shared_ptr<const Platform> home, const Messages& messages,
                                 std::function<QWidget*()> window, QObject* parent)
    : QObject(parent),
      platform_(home),
      home_(std::move(home)),
      messages_(messages),
      window_(std::move(window)) {}

MachineSwitcher::~MachineSwitcher() {
    retired_.push_back(svc_);
    retired_.push_back(homeSvc_);
    for (const auto& weak : retired_)
        if (const auto svc = weak.lock()) svc->stop();
}

QString MachineSwitcher::openText() {
    return QCoreApplication::translate("OrvaneApp", "Open Capture…");
}

QString MachineSwitcher::showHomeText() {
#if defined(Q_OS_MACOS)
    return QCoreApplication::translate("OrvaneApp", "Show This Mac");
#else
    return QCoreApplication::translate("OrvaneApp", "Show This Computer");
#endif
}

std::shared_ptr<SystemService> MachineSwitcher::svc() {
    if (!svc_) {
        svc_ = SystemService::create(platform_, qtMainQueue(this));
        if (prepare_) prepare_(svc_, platform_);
        if (platform_ == home_) homeSvc_ = svc_;
    }
    return svc_;
}

QString MachineSwitcher::windowTitle() const {
    const QString name = captureName_.isEmpty() ? startCaptureName_ : captureName_;
    return name.isEmpty() ? QStringLiteral("Orvane") : QStringLiteral("%1 — Orvane").arg(name);
}

void MachineSwitcher::choose() {
    const QString dir = QFileDialog::getExistingDirectory(window_(), openText(), QString());
    if (!dir.isEmpty()) open(dir);
}

bool MachineSwitcher::open(const QString& dir) {
    const QFileInfo info(QDir(dir).absolutePath());
    const std::filesystem::path path = info.absoluteFilePath().toStdString();
    if (!info.isDir() || !holdsCaptureFiles(path)) {
        messages_.tell(
            QCoreApplication::translate("OrvaneApp", "This is not a capture"),
            QCoreApplication::translate("OrvaneApp",
                                        "“%1” holds no captured machine. Choose a directory "
                                        "written by orvane-report --capture.")
                .arg(QDir::toNativeSeparators(info.absoluteFilePath())));
        return false;
    }
    auto replay = std::make_shared<ReplayPlatform>(path);
    if (!replay->problems().empty()) {
        QStringList problems;
        for (const std::string& problem : replay->problems())
            problems << QString::fromStdString(problem);
        messages_.tell(QCoreApplication::translate("OrvaneApp", "The capture could not be read"),
                       QCoreApplication::translate("OrvaneApp", "“%1” could not be read:\n%2")
                           .arg(info.fileName(), problems.join('\n')));
        return false;
    }
    show(std::move(replay), info.fileName());
    return true;
}

void MachineSwitcher::showHome() {
    if (!captureName_.isEmpty()) show(home_, QString());
}

// This machine's service is kept while a capture is shown, so coming back finds its records;
// a capture's service goes when another machine is shown.
void MachineSwitcher::show(std::shared_ptr<const Platform> platform, const QString& captureName) {
    if (svc_ && svc_ != homeSvc_) {
        std::erase_if(retired_, [](const auto& weak) { return weak.expired(); });
        retired_.push_back(svc_);
    }
    platform_ = std::move(platform);
    svc_ = platform_ == home_ ? homeSvc_ : nullptr;
    captureName_ = captureName;
    emit machineChanged();
}

void MachineSwitcher::acceptDrops(QWidget* window) {
    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

bool MachineSwitcher::eventFilter(QObject*, QEvent* event) {
    if (event->type() == QEvent::DragEnter) {
        auto* drag = static_cast<QDragEnterEvent*>(event);
        if (!draggedDirectory(drag->mimeData()).isEmpty()) drag->acceptProposedAction();
        return true;
    }
    if (event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString dir = draggedDirectory(drop->mimeData());
        if (dir.isEmpty()) return true;
        drop->acceptProposedAction();
        // After the drop has ended: a message about a bad capture is modal.
        QMetaObject::invokeMethod(
            this, [this, dir] { open(dir); }, Qt::QueuedConnection);
        return true;
    }
    return false;
}

}  // namespace orvane
