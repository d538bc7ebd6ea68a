#include "ui/app/OrvaneApp.h"
#include "ui/model/Layout.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QSaveFile>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QStyleHints>
#include <QTimer>
#include <QToolTip>

#include "service/platform/ReplayPlatform.h"
#include "ui/app/MotionPreference.h"
#include "ui/model/PageText.h"
#include "ui/model/ServiceWatcher.h"
#include "ui/pages/AboutView.h"
#include "ui/paint/Theme.h"
#include "ui/shell/ContentView.h"

namespace orvane {
namespace {

// The texts of the report and capture commands, each once.
namespace text {
QString appName() {
    return QStringLiteral("Orvane");
}
QString copyAll() {
    return QCoreApplication::translate("OrvaneApp", "Copy All");
}
QString exportReport() {
    return QCoreApplication::translate("OrvaneApp", "Export Report…");
}
QString openCapture() {
    return QCoreApplication::translate("OrvaneApp", "Open Capture…");
}
#if defined(Q_OS_MACOS)
QString showThisMachine() {
    return QCoreApplication::translate("OrvaneApp", "Show This Mac");
}
#else
QString showThisMachine() {
    return QCoreApplication::translate("OrvaneApp", "Show This Computer");
}
#endif
QString titleWithCapture() {
    return QStringLiteral("%1 — Orvane");
}
QString defaultReportName() {
    return QCoreApplication::translate("OrvaneApp", "Orvane Report");
}
QString notSaved() {
    return QCoreApplication::translate("OrvaneApp", "The report could not be saved");
}
QString notSavedDetail() {
    return QCoreApplication::translate("OrvaneApp", "Orvane could not write “%1”: %2");
}
QString notACapture() {
    return QCoreApplication::translate("OrvaneApp", "This is not a capture");
}
QString notACaptureDetail() {
    return QCoreApplication::translate(
        "OrvaneApp",
        "“%1” holds no captured machine. Choose a directory written by "
        "orvane-report --capture.");
}
QString unreadableCapture() {
    return QCoreApplication::translate("OrvaneApp", "The capture could not be read");
}
QString unreadableCaptureDetail() {
    return QCoreApplication::translate("OrvaneApp", "“%1” could not be read:\n%2");
}
}  // namespace text

// The save dialog's file types and the formats they write, text first.
struct ExportType {
    QString filter;
    QString suffix;
    ReportFormat format;
};
const std::vector<ExportType>& exportTypes() {
    static const std::vector<ExportType> types = {
        {QCoreApplication::translate("OrvaneApp", "Plain text (*.txt)"), QStringLiteral("txt"),
         ReportFormat::text},
        {QCoreApplication::translate("OrvaneApp", "Markdown (*.md)"), QStringLiteral("md"),
         ReportFormat::markdown},
        {QCoreApplication::translate("OrvaneApp", "JSON (*.json)"), QStringLiteral("json"),
         ReportFormat::json},
    };
    return types;
}

// The one local directory a drag carries; empty for anything else.
QString draggedDirectory(const QMimeData* data) {
    if (!data || data->urls().size() != 1 || !data->urls().front().isLocalFile()) return {};
    const QString path = data->urls().front().toLocalFile();
    return QFileInfo(path).isDir() ? path : QString();
}

void waitFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Raises a window above the others; off screen there is nothing to raise.
void bringForward(QWidget* w) {
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) return;
    w->raise();
    w->activateWindow();
}

// "Orvane", or the capture's name and "Orvane" while a capture is shown.
QString windowTitle(const QString& captureName) {
    return captureName.isEmpty() ? text::appName() : text::titleWithCapture().arg(captureName);
}

}  // namespace

OrvaneApp::OrvaneApp(std::shared_ptr<const Platform> platform, QObject* parent)
    : QObject(parent), platform_(platform), home_(std::move(platform)) {
    aboutAction_ = new QAction(tr("About Orvane"), this);
    aboutAction_->setMenuRole(QAction::AboutRole);
    connect(aboutAction_, &QAction::triggered, this, [this] { openAbout(); });
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    connect(QGuiApplication::styleHints(), &QStyleHints::colorSchemeChanged, this,
            [this] { applyScheme(); });
#endif
    applyScheme();
    MotionPreference::apply(this);
}

OrvaneApp::~OrvaneApp() {
    delete about_.data();
    delete main_.data();
}

std::shared_ptr<SystemService> OrvaneApp::svc() {
    if (!svc_) {
        svc_ = SystemService::create(platform_, qtMainQueue(this));
        if (platform_ == home_) homeSvc_ = svc_;
    }
    return svc_;
}

QMainWindow* OrvaneApp::mainWindow() {
    if (main_) return main_;
    main_ = new QMainWindow;
    main_->setWindowTitle(windowTitle(startCaptureName_));
    // A capture directory dropped on the window opens as Open Capture… does.
    main_->setAcceptDrops(true);
    installContent();
    buildMenus();

    main_->setMinimumSize(main_->minimumSizeHint());
    main_->installEventFilter(this);
    stylize(main_);
    return main_;
}

// A content view for the service of the machine shown, in place of the one before (which
// goes, with its pages and timers); the page shown stays.
void OrvaneApp::installContent() {
    const std::optional<Section> page =
        content_ ? std::optional<Section>(content_->selection()) : std::nullopt;
    content_ = new ContentView(svc());
    main_->setCentralWidget(content_);
    if (page) content_->setSelection(*page);
    connect(content_, &ContentView::appearanceChosen, this, [this] { applyScheme(); });
    if (copyAllAction_) content_->reportMenu()->addActions({copyAllAction_, exportAction_});
}

// A Mac's menus: the application menu (About and Quit move there by their roles), View with
// the pages and Refresh, Window with Minimize and Close. Elsewhere the menu bar of a desktop
// application: File with Quit, View, Help with About. Ctrl stands for Command on a Mac.
void OrvaneApp::buildMenus() {
    QMenuBar* bar = main_->menuBar();
    // File: captures and the report, on a Mac too (its File menu holds them).
    QMenu* file = bar->addMenu(tr("&File"));
    openCaptureAction_ = file->addAction(text::openCapture());
    openCaptureAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(openCaptureAction_, &QAction::triggered, this, &OrvaneApp::chooseCapture);
    showThisMachineAction_ = file->addAction(text::showThisMachine());
    showThisMachineAction_->setEnabled(false);
    connect(showThisMachineAction_, &QAction::triggered, this, &OrvaneApp::showThisMachine);
    file->addSeparator();
    copyAllAction_ = file->addAction(text::copyAll());
    copyAllAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    connect(copyAllAction_, &QAction::triggered, this, &OrvaneApp::copyAll);
    exportAction_ = file->addAction(text::exportReport());
    exportAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    connect(exportAction_, &QAction::triggered, this, &OrvaneApp::exportReport);
    content_->reportMenu()->addActions({copyAllAction_, exportAction_});

    QMenu* view = bar->addMenu(tr("&View"));
    for (Section s : allSections()) {
        QAction* page = view->addAction(title(s));
        page->setShortcut(QKeySequence(Qt::CTRL | (Qt::Key_1 + static_cast<int>(s))));
        connect(page, &QAction::triggered, this, [this, s] { content_->setSelection(s); });
        pageActions_.push_back(page);
    }
    view->addSeparator();
    refreshAction_ = view->addAction(tr("Refresh"));
    refreshAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    connect(refreshAction_, &QAction::triggered, this, [this] { content_->refresh(); });

    QAction* quit = new QAction(tr("Quit Orvane"), this);
    quit->setMenuRole(QAction::QuitRole);
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(quit, &QAction::triggered, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
#if defined(Q_OS_MACOS)
    view->addAction(aboutAction_);
    view->addAction(quit);
    QMenu* window = bar->addMenu(tr("Window"));
    QAction* minimize = window->addAction(tr("Minimize"));
    minimize->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    connect(minimize, &QAction::triggered, main_, &QWidget::showMinimized);
    QAction* close = window->addAction(tr("Close"));
    close->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    connect(close, &QAction::triggered, main_, &QWidget::close);
#else
    file->addSeparator();
    file->addAction(quit);
    bar->addMenu(tr("&Help"))->addAction(aboutAction_);
#endif
    for (QMenu* menu : bar->findChildren<QMenu*>())
        menu->setAttribute(Qt::WA_WindowPropagation);
    // The window holds the page and Refresh shortcuts too: where the menu bar is exported to
    // the desktop (a global menu) or hidden, the window's own shortcuts still work.
    main_->addActions({pageActions_.begin(), pageActions_.end()});
    main_->addAction(refreshAction_);
}

ContentView* OrvaneApp::contentView() {
    mainWindow();
    return content_;
}

void OrvaneApp::showMainWindow() {
    QMainWindow* w = mainWindow();
    QSize size(Layout::windowDefaultWidth, Layout::windowDefaultHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        size = size.boundedTo(screen->availableGeometry().size() * 0.9);
    }
    w->resize(size.expandedTo(w->minimumSize()));
    w->show();
    bringForward(w);
}

AboutView* OrvaneApp::openAbout() {
    if (!about_) {
        about_ = new AboutView;
        about_->setWindowFlag(Qt::Window);
        about_->setWindowTitle(tr("About Orvane"));
        about_->setAttribute(Qt::WA_DeleteOnClose);
        stylize(about_);
    }
    about_->setTagline(QString::fromStdString(PageText::tagline(svc()->hardware().macOSName)));
    about_->show();
    bringForward(about_);
    return about_;
}

AboutView* OrvaneApp::aboutWindow() const {
    return about_.data();
}

QString OrvaneApp::appearanceRaw() const {
    return QSettings().value(QLatin1String(kAppearanceKey), QStringLiteral("system")).toString();
}

void OrvaneApp::setAppearanceRaw(const QString& raw) {
    QSettings().setValue(QLatin1String(kAppearanceKey), raw);
    if (content_) content_->showAppearance(raw);
    applyScheme();
}

void OrvaneApp::setSchemeOverride(std::optional<ColorScheme> scheme) {
    override_ = scheme;
    applyScheme();
}

ColorScheme OrvaneApp::systemScheme() {
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    switch (QGuiApplication::styleHints()->colorScheme()) {
        case Qt::ColorScheme::Dark:
            return ColorScheme::dark;
        case Qt::ColorScheme::Light:
            return ColorScheme::light;
        default:
            break;
    }
#endif
    // The application palette is the platform's: the windows get ours, the application never.
    return QGuiApplication::palette().color(QPalette::Window).lightness() < 128
               ? ColorScheme::dark
               : ColorScheme::light;
}

void OrvaneApp::applyScheme() {
    const ColorScheme scheme =
        override_ ? *override_ : resolvedScheme(appearanceRaw(), systemScheme());
    if (applied_ && scheme == scheme_) return;
    applied_ = true;
    scheme_ = scheme;
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    // Title bars and native menus follow the application's scheme: forced for Light and Dark,
    // handed back to the system for Auto (and for screenshots, which draw only our widgets).
    const std::optional<ColorScheme> chosen =
        colorScheme(appearanceFromRaw(appearanceRaw()).value_or(Appearance::system));
    if (override_ || !chosen) {
        QGuiApplication::styleHints()->unsetColorScheme();
    } else {
        QGuiApplication::styleHints()->setColorScheme(
            *chosen == ColorScheme::dark ? Qt::ColorScheme::Dark : Qt::ColorScheme::Light);
    }
#endif
    Theme::setDark(scheme == ColorScheme::dark);
    QToolTip::setPalette(Theme::palette(Theme::isDark()));
    for (QWidget* w : {static_cast<QWidget*>(main_.data()), static_cast<QWidget*>(about_.data())}) {
        if (w) stylize(w);
    }
    emit schemeChanged(scheme);
}

void OrvaneApp::stylize(QWidget* window) {
    window->setPalette(Theme::palette(Theme::isDark()));
    window->update();
}

bool OrvaneApp::eventFilter(QObject* watched, QEvent* event) {
    if (watched == main_) {
        switch (event->type()) {
            case QEvent::ThemeChange:
            case QEvent::ApplicationPaletteChange:
                // The system's scheme may have changed; "Auto" follows it.
                applyScheme();
                break;
            case QEvent::Close:
                // Closing the main window ends the program; the About window goes with it.
                if (about_) about_->close();
                break;
            case QEvent::DragEnter: {
                auto* drag = static_cast<QDragEnterEvent*>(event);
                if (!draggedDirectory(drag->mimeData()).isEmpty()) drag->acceptProposedAction();
                return true;
            }
            case QEvent::Drop: {
                auto* drop = static_cast<QDropEvent*>(event);
                const QString dir = draggedDirectory(drop->mimeData());
                if (dir.isEmpty()) return true;
                drop->acceptProposedAction();
                // After the drop has ended: a message about a bad capture is modal.
                QMetaObject::invokeMethod(
                    this, [this, dir] { openCapture(dir); }, Qt::QueuedConnection);
                return true;
            }
            default:
                break;
        }
    }
    return false;
}

QString OrvaneApp::report(ReportFormat format) {
    return QString::fromStdString(formatReport(Report::of(*svc()), format));
}

void OrvaneApp::copyAll() {
    QGuiApplication::clipboard()->setText(report(ReportFormat::text));
}

QStringList OrvaneApp::exportFilters() {
    QStringList filters;
    for (const ExportType& type : exportTypes())
        filters << type.filter;
    return filters;
}

void OrvaneApp::exportReport() {
    QFileDialog dialog(mainWindow(), text::exportReport());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(exportFilters());
    // A name typed without an ending gets the chosen type's.
    dialog.setDefaultSuffix(exportTypes().front().suffix);
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        for (const ExportType& type : exportTypes())
            if (type.filter == filter) dialog.setDefaultSuffix(type.suffix);
    });
    dialog.setDirectory(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    dialog.selectFile(text::defaultReportName() + QLatin1Char('.') + exportTypes().front().suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    exportReportTo(dialog.selectedFiles().front(), dialog.selectedNameFilter());
}

bool OrvaneApp::exportReportTo(const QString& path, const QString& nameFilter) {
    ReportFormat format = ReportFormat::text;
    const QString suffix = QFileInfo(path).suffix().toLower();
    bool byEnding = false;
    for (const ExportType& type : exportTypes())
        if (type.suffix == suffix) {
            format = type.format;
            byEnding = true;
        }
    if (!byEnding)
        for (const ExportType& type : exportTypes())
            if (type.filter == nameFilter) format = type.format;
    // Written beside the target and renamed over it at the end: a failure leaves what was there.
    QSaveFile file(path);
    const QByteArray bytes = report(format).toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        tell(text::notSaved(),
             text::notSavedDetail().arg(QDir::toNativeSeparators(path), file.errorString()));
        return false;
    }
    return true;
}

void OrvaneApp::chooseCapture() {
    const QString dir =
        QFileDialog::getExistingDirectory(mainWindow(), text::openCapture(), QString());
    if (!dir.isEmpty()) openCapture(dir);
}

bool OrvaneApp::openCapture(const QString& dir) {
    const QFileInfo info(QDir(dir).absolutePath());
    const std::filesystem::path path = info.absoluteFilePath().toStdString();
    if (!info.isDir() || !holdsCaptureFiles(path)) {
        tell(text::notACapture(),
             text::notACaptureDetail().arg(QDir::toNativeSeparators(info.absoluteFilePath())));
        return false;
    }
    auto replay = std::make_shared<ReplayPlatform>(path);
    if (!replay->problems().empty()) {
        QStringList problems;
        for (const std::string& problem : replay->problems())
            problems << QString::fromStdString(problem);
        tell(text::unreadableCapture(),
             text::unreadableCaptureDetail().arg(info.fileName(), problems.join('\n')));
        return false;
    }
    show(std::move(replay), info.fileName());
    return true;
}

void OrvaneApp::showThisMachine() {
    if (!captureName_.isEmpty()) show(home_, QString());
}

// Shows `platform`'s machine: this machine's service is kept while a capture is shown, so
// coming back finds its records; a capture's service goes when another machine is shown.
void OrvaneApp::show(std::shared_ptr<const Platform> platform, const QString& captureName) {
    mainWindow();
    platform_ = std::move(platform);
    svc_ = platform_ == home_ ? homeSvc_ : nullptr;
    captureName_ = captureName;
    installContent();
    main_->setWindowTitle(windowTitle(captureName.isEmpty() ? startCaptureName_ : captureName));
    showThisMachineAction_->setEnabled(!captureName.isEmpty());
    stylize(main_);
}

void OrvaneApp::tell(const QString& title, const QString& text) {
    if (messageSink_) {
        messageSink_(title, text);
        return;
    }
    QMessageBox box(QMessageBox::Warning, title, title, QMessageBox::Ok, mainWindow());
    box.setInformativeText(text);
    box.exec();
}

bool OrvaneApp::saveScreenshots(const QString& dir, const QSize& size, bool fillHistory) {
    if (!QDir().mkpath(dir)) return false;
    QMainWindow* w = mainWindow();
    w->resize(size.expandedTo(w->minimumSize()));
    w->show();

    // Wait for the first full load and the samples of the first two live ticks (bounded); then
    // no live sample or refresh lands any more, so every picture shows the same moment and a
    // replayed machine gives the same pictures on every run.
    QTimer* tickers[] = {content_->ticker(), content_->slowTicker()};
    const bool ticking[] = {tickers[0]->isActive(), tickers[1]->isActive()};
    ServiceWatcher watcher(svc());
    int liveSamples = 0;
    connect(&watcher, &ServiceWatcher::changed, this, [&](FieldSet fields) {
        if (!(fields & fieldBit(SystemService::Field::live)) || ++liveSamples < 2) return;
        for (QTimer* t : tickers)
            t->stop();
    });
    QEventLoop loop;
    QTimer poll;
    connect(&poll, &QTimer::timeout, &loop, [&] {
        if (svc_->loaded() && liveSamples >= 2) loop.quit();
    });
    poll.start(50);
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    loop.exec();
    for (QTimer* t : tickers)
        t->stop();
    if (fillHistory) {
        // A replayed machine's samples are the same whenever they are taken: take the rest of
        // two minutes' worth at once, a second apart on a stepped clock, for a full history.
        double now = svc_->history().newest().time;
        svc_->setClock([&now] { return now += 1; });
        for (std::size_t n = svc_->history().size(); n < LiveHistory::kCapacity; ++n)
            svc_->updateLive();
        svc_->setClock(historyClock);
        QCoreApplication::processEvents();
    }

    const bool animations = Theme::animationsEnabled();
    Theme::setAnimationsEnabled(false);
    bool ok = true;
    const Section before = content_->selection();
    for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
        setSchemeOverride(scheme);
        const QString suffix =
            scheme == ColorScheme::dark ? QStringLiteral("dark") : QStringLiteral("light");
        for (Section s : allSections()) {
            content_->setSelection(s);
            waitFor(250);
            ok &= w->grab().save(
                QDir(dir).filePath(rawValue(s) + QLatin1Char('-') + suffix + ".png"));
        }
        AboutView* about = openAbout();
        waitFor(150);
        ok &= about->grab().save(QDir(dir).filePath(QStringLiteral("about-") + suffix + ".png"));
    }
    if (about_) about_->close();
    content_->setSelection(before);
    setSchemeOverride(std::nullopt);
    Theme::setAnimationsEnabled(animations);
    for (int i = 0; i < 2; ++i)
        if (ticking[i]) tickers[i]->start();
    return ok;
}

}  // namespace orvane
