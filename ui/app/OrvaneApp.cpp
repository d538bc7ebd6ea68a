#include "ui/app/OrvaneApp.h"

#include <QAction>
#include <QEvent>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenu>
#include <QScreen>

#include "ui/app/MotionPreference.h"
#include "ui/model/Layout.h"
#include "ui/model/PageText.h"
#include "ui/pages/AboutView.h"
#include "ui/shell/ContentView.h"

namespace orvane {
namespace {

// Raises a window above the others; off screen there is nothing to raise.
void bringForward(QWidget* w) {
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) return;
    w->raise();
    w->activateWindow();
}

}  // namespace

OrvaneApp::OrvaneApp(std::shared_ptr<const Platform> platform, QObject* parent)
    : QObject(parent),
      messages_([this] { return mainWindow(); }),
      journal_(messages_, [this] { return mainWindow(); }),
      machines_(std::move(platform), messages_, [this] { return mainWindow(); }),
      reports_([this] { return svc(); }, [this] { return mainWindow(); }, messages_) {
    machines_.setPrepare(
        [this](const auto& svc, const auto& platform) { journal_.attach(svc, platform); });
    menus_.addJournalCommands(journal_.recordAction(), journal_.clearAction());
    connect(menus_.about(), &QAction::triggered, this, [this] { openAbout(); });
    connect(menus_.openCapture(), &QAction::triggered, &machines_, &MachineSwitcher::choose);
    connect(menus_.showHome(), &QAction::triggered, &machines_, &MachineSwitcher::showHome);
    connect(menus_.copyAll(), &QAction::triggered, &reports_, &ReportExporter::copyAll);
    connect(menus_.exportReport(), &QAction::triggered, &reports_, &ReportExporter::exportReport);
    for (Section s : allSections())
        connect(menus_.pages()[static_cast<std::size_t>(s)], &QAction::triggered, this,
                [this, s] { content_->setSelection(s); });
    connect(menus_.refresh(), &QAction::triggered, this, [this] { content_->refresh(); });
    connect(&machines_, &MachineSwitcher::machineChanged, this, &OrvaneApp::showMachine);
    connect(&appearance_, &AppearanceController::choiceStored, this, [this](const QString& raw) {
        if (content_) content_->showAppearance(raw);
    });
    MotionPreference::apply(this);
}

OrvaneApp::~OrvaneApp() {
    delete about_.data();
    delete main_.data();
}

QMainWindow* OrvaneApp::mainWindow() {
    if (main_) return main_;
    main_ = new QMainWindow;
    main_->setWindowTitle(machines_.windowTitle());
    // A capture directory dropped on the window opens as Open Capture… does.
    machines_.acceptDrops(main_);
    installContent();
    menus_.install(main_);

    main_->setMinimumSize(main_->minimumSizeHint());
    main_->installEventFilter(this);
    appearance_.style(main_);
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
    content_->showAppearance(appearance_.stored());
    connect(content_, &ContentView::appearanceChosen, &appearance_, &AppearanceController::store);
    content_->reportMenu()->addActions({menus_.copyAll(), menus_.exportReport()});
}

// Another machine is shown: its content in the window, its name in the title.
void OrvaneApp::showMachine() {
    if (!main_) return;
    installContent();
    main_->setWindowTitle(machines_.windowTitle());
    menus_.showHome()->setEnabled(!machines_.captureName().isEmpty());
    appearance_.style(main_);
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
        appearance_.style(about_);
    }
    about_->setTagline(QString::fromStdString(PageText::tagline(svc()->hardware().macOSName)));
    about_->show();
    bringForward(about_);
    return about_;
}

AboutView* OrvaneApp::aboutWindow() const {
    return about_.data();
}

bool OrvaneApp::eventFilter(QObject* watched, QEvent* event) {
    // Closing the main window ends the program; the About window goes with it.
    if (watched == main_ && event->type() == QEvent::Close && about_) about_->close();
    return false;
}

}  // namespace orvane
