#include "ui/app/OrvaneApp.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QEventLoop>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QStyleHints>
#include <QTimer>
#include <QToolTip>

#include "ui/app/ServiceWatcher.h"
#include "ui/components/Theme.h"
#include "ui/pages/AboutView.h"
#include "ui/pages/PageText.h"
#include "ui/shell/ContentView.h"

namespace orvane {
namespace {

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

}  // namespace

OrvaneApp::OrvaneApp(std::shared_ptr<const Platform> platform, QObject* parent)
    : QObject(parent), platform_(std::move(platform)) {
    aboutAction_ = new QAction(QStringLiteral("About Orvane"), this);
    aboutAction_->setMenuRole(QAction::AboutRole);
    connect(aboutAction_, &QAction::triggered, this, [this] { openAbout(); });
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    connect(QGuiApplication::styleHints(), &QStyleHints::colorSchemeChanged, this,
            [this] { applyScheme(); });
#endif
    applyScheme();
}

OrvaneApp::~OrvaneApp() {
    delete about_.data();
    delete main_.data();
}

std::shared_ptr<SystemService> OrvaneApp::svc() {
    if (!svc_) svc_ = SystemService::create(platform_, qtMainQueue(this));
    return svc_;
}

QMainWindow* OrvaneApp::mainWindow() {
    if (main_) return main_;
    main_ = new QMainWindow;
    main_->setWindowTitle(QStringLiteral("Orvane"));
    content_ = new ContentView(svc());
    main_->setCentralWidget(content_);
    connect(content_, &ContentView::appearanceChosen, this, [this] { applyScheme(); });

    buildMenus();

    main_->setMinimumSize(main_->minimumSizeHint());
    main_->installEventFilter(this);
    stylize(main_);
    return main_;
}

// A Mac's menus: the application menu (About and Quit move there by their roles), View with
// the pages and Refresh, Window with Minimize and Close. Elsewhere the menu bar of a desktop
// application: File with Quit, View, Help with About. Ctrl stands for Command on a Mac.
void OrvaneApp::buildMenus() {
    QMenuBar* bar = main_->menuBar();
#if defined(Q_OS_MACOS)
    QMenu* file = nullptr;
#else
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
#endif
    QMenu* view = bar->addMenu(QStringLiteral("&View"));
    for (Section s : allSections()) {
        QAction* page = view->addAction(title(s));
        page->setShortcut(QKeySequence(Qt::CTRL | (Qt::Key_1 + static_cast<int>(s))));
        connect(page, &QAction::triggered, content_, [this, s] { content_->setSelection(s); });
        pageActions_.push_back(page);
    }
    view->addSeparator();
    refreshAction_ = view->addAction(QStringLiteral("Refresh"));
    refreshAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    connect(refreshAction_, &QAction::triggered, content_, &ContentView::refresh);

    QAction* quit = new QAction(QStringLiteral("Quit Orvane"), this);
    quit->setMenuRole(QAction::QuitRole);
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(quit, &QAction::triggered, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
#if defined(Q_OS_MACOS)
    view->addAction(aboutAction_);
    view->addAction(quit);
    QMenu* window = bar->addMenu(QStringLiteral("Window"));
    QAction* minimize = window->addAction(QStringLiteral("Minimize"));
    minimize->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    connect(minimize, &QAction::triggered, main_, &QWidget::showMinimized);
    QAction* close = window->addAction(QStringLiteral("Close"));
    close->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    connect(close, &QAction::triggered, main_, &QWidget::close);
#else
    file->addAction(quit);
    bar->addMenu(QStringLiteral("&Help"))->addAction(aboutAction_);
#endif
    for (QMenu* menu : bar->findChildren<QMenu*>())
        menu->setAttribute(Qt::WA_WindowPropagation);
}

ContentView* OrvaneApp::contentView() {
    mainWindow();
    return content_;
}

void OrvaneApp::showMainWindow() {
    QMainWindow* w = mainWindow();
    QSize size(1060, 740);
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
        about_->setWindowTitle(QStringLiteral("About Orvane"));
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
            default:
                break;
        }
    }
    return false;
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
