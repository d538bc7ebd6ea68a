// The application shell: sections and appearance, the sidebar, the timers and "Refresh"
// driving the service, the stored appearance applied to both windows, one About window.
#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMainWindow>
#include <QMenuBar>
#include <QProcessEnvironment>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <mutex>
#include <optional>

#include "service/platform/ReplayPlatform.h"
#include "tests/ui/ReplayForwarder.h"
#include "ui/app/DisplayCheck.h"
#include "ui/app/OrvaneApp.h"
#include "ui/app/ScreenshotRenderer.h"
#include "ui/components/PlainButton.h"
#include "ui/components/SegmentedPicker.h"
#include "ui/model/Appearance.h"
#include "ui/model/ServiceWatcher.h"
#include "ui/pages/AboutView.h"
#include "ui/pages/DisplaysView.h"
#include "ui/paint/Theme.h"
#include "ui/shell/ContentView.h"
#include "ui/shell/ScreenFit.h"
#include "ui/shell/Section.h"
#include "ui/shell/SidebarList.h"

namespace orvane {
namespace {

// A captured Mac that counts how often each input is read.
class CountingPlatform : public ReplayForwarder {
  public:
    CountingPlatform() : ReplayForwarder(ORVANE_FIXTURES "/mac-portable") {}

    std::vector<std::uint8_t> runData(const std::string& path,
                                      const std::vector<std::string>& args) const override {
        {
            std::lock_guard lock(mutex_);
            for (const auto& a : args)
                ++calls_[a];
        }
        return ReplayForwarder::runData(path, args);
    }
    LiveInputs sampleLive() const override {
        ++samples_;
        return ReplayForwarder::sampleLive();
    }

    // Full loads read the hardware report; full and dynamic collections read the power report.
    int loads() const { return count("SPHardwareDataType"); }
    int collections() const { return count("SPPowerDataType"); }
    int samples() const { return samples_; }

  private:
    int count(const std::string& arg) const {
        std::lock_guard lock(mutex_);
        auto it = calls_.find(arg);
        return it == calls_.end() ? 0 : it->second;
    }

    mutable std::mutex mutex_;
    mutable std::map<std::string, int> calls_;
    mutable std::atomic<int> samples_{0};
};

void storeAppearance(const QVariant& value) {
    QSettings settings;
    if (value.isNull())
        settings.remove(QLatin1String(kAppearanceKey));
    else
        settings.setValue(QLatin1String(kAppearanceKey), value);
}

TEST(Section, RawValuesRoundTripAndNothingElseParses) {
    for (Section s : allSections())
        EXPECT_EQ(sectionFromRaw(rawValue(s)), s);
    for (const char* bad : {"Overview", "", "graphics", "display", " battery"})
        EXPECT_FALSE(sectionFromRaw(QLatin1String(bad)).has_value()) << bad;
}

class ShellTest : public ::testing::Test {
  protected:
    void SetUp() override {
        storeAppearance(QVariant());
        counter_ = std::make_shared<CountingPlatform>();
        platform_ = macPlatformOf(counter_);
    }
    void TearDown() override { storeAppearance(QVariant()); }

    std::shared_ptr<CountingPlatform> counter_;
    std::shared_ptr<const Platform> platform_;
};

TEST_F(ShellTest, StoredAppearanceSetsTheSchemeFromLaunch) {
    const ColorScheme system = AppearanceController::systemScheme();
    const struct {
        QVariant stored;
        ColorScheme expected;
    } cases[] = {
        {QStringLiteral("light"), ColorScheme::light},
        {QStringLiteral("dark"), ColorScheme::dark},
        {QStringLiteral("system"), system},
        {QString(""), system},
        {QStringLiteral("bogus"), system},
        {QStringLiteral("Dark"), system},  // the raw values are case-sensitive
        {QVariant(), system},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored.toString().toStdString());
        storeAppearance(c.stored);
        OrvaneApp app(platform_);
        EXPECT_EQ(app.appearance().scheme(), c.expected);
        EXPECT_EQ(Theme::isDark(), c.expected == ColorScheme::dark);
        // The picker shows the stored choice; anything unknown shows "Auto".
        const QString shown = app.contentView()->appearancePicker()->currentKey();
        const QString stored = c.stored.toString();
        EXPECT_EQ(shown, appearanceFromRaw(stored) ? stored : QStringLiteral("system"));
    }
}

TEST_F(ShellTest, PickingDarkTurnsBothWindowsDarkAndSurvivesARestart) {
    storeAppearance(QStringLiteral("light"));
    {
        OrvaneApp app(platform_);
        app.showMainWindow();
        AboutView* about = app.openAbout();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(app.mainWindow()));
        const QColor lightWindow = Theme::palette(false).color(QPalette::Window);
        EXPECT_EQ(about->palette().color(QPalette::Window), lightWindow);

        SegmentedPicker* picker = app.contentView()->appearancePicker();
        const int dark = 2;
        ASSERT_EQ(picker->options()[dark].key, QStringLiteral("dark"));
        QTest::mouseClick(picker, Qt::LeftButton, {}, picker->segmentRect(dark).center());

        EXPECT_EQ(QSettings().value(QLatin1String(kAppearanceKey)).toString(),
                  QStringLiteral("dark"));
        EXPECT_EQ(app.appearance().scheme(), ColorScheme::dark);
        const QColor darkWindow = Theme::palette(true).color(QPalette::Window);
        EXPECT_EQ(app.mainWindow()->palette().color(QPalette::Window), darkWindow);
        EXPECT_EQ(about->palette().color(QPalette::Window), darkWindow);
        EXPECT_EQ(app.contentView()->palette().color(QPalette::Window), darkWindow);
    }
    OrvaneApp restarted(platform_);
    EXPECT_EQ(restarted.appearance().scheme(), ColorScheme::dark);
    EXPECT_EQ(restarted.contentView()->appearancePicker()->currentKey(), QStringLiteral("dark"));
}

TEST_F(ShellTest, AutoFollowsTheSystemAForcedChoiceAndAnOverrideDoNot) {
    storeAppearance(QStringLiteral("system"));
    OrvaneApp app(platform_);
    app.showMainWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(app.mainWindow()));
    const QPalette platformPalette = QApplication::palette();
    const ColorScheme before = app.appearance().scheme();
    const bool toDark = before == ColorScheme::light;

    // The system switches scheme: the platform palette changes and Qt tells every widget.
    QApplication::setPalette(Theme::palette(toDark));
    QTest::qWait(20);
    EXPECT_EQ(app.appearance().scheme(), toDark ? ColorScheme::dark : ColorScheme::light);
    EXPECT_EQ(app.mainWindow()->palette().color(QPalette::Window),
              Theme::palette(toDark).color(QPalette::Window));

    // A forced choice ignores the system; the picker shows it.
    app.appearance().store(QStringLiteral("light"));
    EXPECT_EQ(app.contentView()->appearancePicker()->currentKey(), QStringLiteral("light"));
    QApplication::setPalette(Theme::palette(true));
    QTest::qWait(20);
    EXPECT_EQ(app.appearance().scheme(), ColorScheme::light);
    QApplication::setPalette(platformPalette);

    // An override (screenshots) shows its scheme and stores nothing.
    app.appearance().setOverride(ColorScheme::dark);
    EXPECT_EQ(app.appearance().scheme(), ColorScheme::dark);
    EXPECT_EQ(app.appearance().stored(), QStringLiteral("light"));
    app.appearance().setOverride(std::nullopt);
    EXPECT_EQ(app.appearance().scheme(), ColorScheme::light);
}

TEST_F(ShellTest, SidebarSelectsThePageInAWindowOfAtLeastTheMinimumSize) {
    OrvaneApp app(platform_);
    ContentView* content = app.contentView();
    SidebarList* list = content->sidebarList();
    EXPECT_EQ(content->selection(), Section::overview);
    EXPECT_EQ(content->currentPage()->objectName(), QStringLiteral("overview"));
    app.showMainWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(app.mainWindow()));

    // Rows top to bottom in section order.
    int lastTop = -1;
    for (Section s : allSections()) {
        EXPECT_GT(list->rowRect(s).top(), lastTop);
        lastTop = list->rowRect(s).top();
    }
    QTest::mouseClick(list, Qt::LeftButton, {}, list->rowRect(Section::displays).center());
    EXPECT_EQ(content->selection(), Section::displays);
    EXPECT_NE(qobject_cast<DisplaysView*>(content->currentPage()), nullptr);

    list->setFocus();
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(content->selection(), Section::performance);
    QTest::keyClick(list, Qt::Key_Home);
    EXPECT_EQ(content->selection(), Section::overview);
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(content->selection(), Section::overview);

    // The window shrinks no further than its content allows.
    app.mainWindow()->resize(400, 300);
    QTest::qWait(50);
    EXPECT_GE(app.contentView()->width(), ContentView::kMinimumWidth);
    EXPECT_GE(app.contentView()->height(), ContentView::kMinimumHeight);
    EXPECT_GE(app.contentView()->sidebar()->width(), ContentView::kSidebarMinimumWidth);
}

// The first window opens within a screen smaller than its minimum, Refresh and Report inside:
// here offscreen's 800 x 600, and 1093 x 614 (1366 x 768 at 125 %) in the SmallScreen test of
// CMakeLists.txt.
TEST_F(ShellTest, WindowFitsASmallScreenWithRefreshAndReportInside) {
    OrvaneApp app(platform_);
    QMainWindow* w = app.mainWindow();
    ScreenFit::keep(w);
    app.showMainWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    EXPECT_TRUE(w->screen()->availableGeometry().contains(w->frameGeometry()));
    for (QWidget* b : {static_cast<QWidget*>(app.contentView()->refreshButton()),
                       static_cast<QWidget*>(app.contentView()->reportButton())})
        EXPECT_TRUE(w->rect().contains(QRect(b->mapTo(w, QPoint()), b->size())));
}

TEST(DisplayCheck, ChoosesAPlatformThatCanStartOrSaysWhyNone) {
    QTemporaryDir run, xcb, wayland;
    for (const QString& file :
         {run.filePath(QStringLiteral("wayland-1")), xcb.filePath(QStringLiteral("libqxcb.so")),
          wayland.filePath(QStringLiteral("libqwayland-generic.so"))})
        QFile(file).open(QIODevice::WriteOnly);
    const struct {
        const char* env;  // NAME=value, space-separated
        bool waylandPlugin;
        const char* platform;  // what QT_QPA_PLATFORM is set to
        const char* problem;   // a word of the one line that ends the start; empty: none
    } cases[] = {
        {"WAYLAND_DISPLAY=wayland-1", true, "", ""},
        {"WAYLAND_DISPLAY=wayland-1 DISPLAY=:0", false, "xcb", ""},
        {"WAYLAND_DISPLAY=wayland-1", false, "", "qt6-wayland"},
        {"WAYLAND_DISPLAY=wayland-9", true, "", "wayland-9"},
        {"", true, "", "DISPLAY"},
        {"QT_QPA_PLATFORM=xcb", true, "", "DISPLAY"},
        {"QT_QPA_PLATFORM=wayland;xcb DISPLAY=:0", false, "", ""},
        {"QT_QPA_PLATFORM=offscreen:configfile=x", false, "", ""},
    };
    for (const auto& c : cases) {
        QProcessEnvironment env;
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), run.path());
        for (const QString& pair : QString::fromLatin1(c.env).split(u' ', Qt::SkipEmptyParts))
            env.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
        const auto got = DisplayCheck::check(
            [&](const char* name) { return env.value(QLatin1String(name)).toLocal8Bit(); }, {},
            c.waylandPlugin ? QStringList{xcb.path(), wayland.path()} : QStringList{xcb.path()});
        EXPECT_EQ(got.platform, c.platform) << c.env;
        EXPECT_EQ(got.note.isEmpty(), !*c.platform) << c.env;
        EXPECT_EQ(got.problem.isEmpty(), !*c.problem) << c.env;
        EXPECT_TRUE(got.problem.contains(QLatin1String(c.problem))) << c.env;
    }
}

TEST_F(ShellTest, FirstShowLoadsOnceAndTimersDriveTheService) {
    OrvaneApp app(platform_);
    ContentView* content = app.contentView();
    const int samplesAtStart = counter_->samples();  // the service's own first sample
    EXPECT_EQ(counter_->loads(), 0);
    EXPECT_FALSE(content->ticker()->isActive());

    app.showMainWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(app.mainWindow()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.svc()->loaded(); }, 5000));
    EXPECT_EQ(counter_->loads(), 1);

    EXPECT_TRUE(content->ticker()->isActive() && content->slowTicker()->isActive());

    // Hiding and showing again does not load again.
    app.mainWindow()->hide();
    app.mainWindow()->show();
    QTest::qWait(50);
    EXPECT_EQ(counter_->loads(), 1);

    // The timers fire whatever page is shown: one live sample a second, one dynamic
    // collection every three seconds.
    content->setSelection(Section::storage);
    const int collections = counter_->collections();
    ASSERT_TRUE(QTest::qWaitFor([&] { return counter_->collections() > collections; }, 4500));
    EXPECT_GE(counter_->samples(), samplesAtStart + 2);
    EXPECT_EQ(counter_->loads(), 1);
}

// Screenshots wait for the first two live ticks and then hold the sampling, so every picture
// shows the same moment and a replay gives the same pictures on every run.
TEST_F(ShellTest, ScreenshotsShowOneMomentAndRestoreTheTimers) {
    OrvaneApp app(platform_);
    const int samplesAtStart = counter_->samples();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ScreenshotRenderer renderer(app, dir.path());
    std::optional<bool> ok;
    QObject::connect(&renderer, &ScreenshotRenderer::finished, [&](bool done) { ok = done; });
    renderer.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ok.has_value(); }, 30000));
    EXPECT_TRUE(*ok);
    EXPECT_EQ(counter_->samples(), samplesAtStart + 2);
    EXPECT_EQ(QDir(dir.path()).entryList({"*.png"}, QDir::Files).size(), 14);
    EXPECT_TRUE(app.contentView()->ticker()->isActive());
    EXPECT_TRUE(app.contentView()->slowTicker()->isActive());
}

TEST_F(ShellTest, TicksAndRefreshCallTheirOperations) {
    OrvaneApp app(platform_);
    ContentView* content = app.contentView();
    // Samples are taken on the service's work queue: wait for each.
    const auto sampled = [&](int n) {
        return QTest::qWaitFor([&] { return counter_->samples() == n; }, 5000);
    };
    ASSERT_TRUE(sampled(1));  // the service's own first sample
    content->tick();
    ASSERT_TRUE(sampled(2));

    content->slowTick();
    ASSERT_TRUE(QTest::qWaitFor([&] { return counter_->collections() == 1; }, 5000));
    EXPECT_EQ(counter_->loads(), 0);

    // "Refresh": a full load and an immediate live sample, on every click.
    PlainButton* refresh = content->refreshButton();
    refresh->click();
    ASSERT_TRUE(sampled(3));
    refresh->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return counter_->loads() == 2; }, 5000));
    EXPECT_TRUE(sampled(4));
}

TEST_F(ShellTest, OneAboutWindowAndMenusThatReachTheirCommands) {
    OrvaneApp app(platform_);
    app.showMainWindow();
    EXPECT_EQ(app.aboutWindow(), nullptr);
    QAction* about = app.menus().about();
    EXPECT_EQ(about->menuRole(), QAction::AboutRole);
    about->trigger();
    AboutView* first = app.aboutWindow();
    ASSERT_NE(first, nullptr);
    about->trigger();
    app.openAbout();
    EXPECT_EQ(app.aboutWindow(), first);
    int windows = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (qobject_cast<AboutView*>(w) && w->isVisible()) ++windows;
    }
    EXPECT_EQ(windows, 1);
    EXPECT_EQ(first->windowTitle(), QStringLiteral("About Orvane"));
    EXPECT_EQ(first->size(), QSize(AboutView::kWidth, AboutView::kHeight));
    EXPECT_EQ(first->minimumSize(), first->maximumSize());

    // Closing discards it; asking again opens a new one.
    first->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.aboutWindow() == nullptr; }, 1000));
    EXPECT_NE(app.openAbout(), nullptr);

    // A desktop application's menu bar, nothing that opens another main window. On a Mac,
    // About and Quit sit in View until the menu bar moves them to the application menu by
    // their roles, and Window holds Minimize and Close.
    QStringList items;
    for (QAction* menu : app.mainWindow()->menuBar()->actions()) {
        QStringList entries;
        for (QAction* a : menu->menu()->actions())
            if (!a->isSeparator()) entries << a->text() + " " + a->shortcut().toString();
        items << menu->text() + ": " + entries.join(", ");
    }
    const QString pages =
        "&View: Overview Ctrl+1, Battery Ctrl+2, Storage Ctrl+3, "
        "Performance Ctrl+4, Graphics Ctrl+5, Sensors Ctrl+6, Refresh Ctrl+R";
#if defined(Q_OS_MACOS)
    const QStringList expected = {
        "&File: Open Capture… Ctrl+O, Show This Mac , Copy All "
        "Ctrl+Shift+C, Export Report… Ctrl+E, Record Health History , Clear History… ",
        pages + ", About Orvane , Quit Orvane Ctrl+Q", "Window: Minimize Ctrl+M, Close Ctrl+W"};
#else
    const QStringList expected = {
        "&File: Open Capture… Ctrl+O, Show This Computer , Copy All "
        "Ctrl+Shift+C, Export Report… Ctrl+E, Record Health History , Clear History… , "
        "Quit Orvane Ctrl+Q",
        pages, "&Help: About Orvane "};
#endif
    EXPECT_EQ(items.join(" | ").toStdString(), expected.join(" | ").toStdString());

    // The View menu shows each page and refreshes.
    ASSERT_TRUE(QTest::qWaitFor([&] { return counter_->loads() == 1; }, 5000));
    for (Section s : allSections()) {
        app.menus().pages().at(static_cast<std::size_t>(s))->trigger();
        EXPECT_EQ(app.contentView()->selection(), s);
    }
    app.menus().refresh()->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return counter_->loads() == 2; }, 5000));
}

TEST_F(ShellTest, EmailRowOpensTheLinkAndDeveloperRowDoesNothing) {
    AboutView about;
    about.setLinkHandler([](const QUrl&) {});  // no mail program in tests
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    int links = 0;
    QUrl url;
    QObject::connect(&about, &AboutView::emailLinkActivated, [&](const QUrl& u) {
        ++links;
        url = u;
    });
    QWidget* email = about.emailRow();
    // Label, gap and value all belong to the link.
    for (int x : {2, email->width() / 2, email->width() - 3}) {
        QTest::mouseClick(email, Qt::LeftButton, {}, QPoint(x, email->height() / 2));
    }
    EXPECT_EQ(links, 3);
    EXPECT_EQ(url, QUrl(QStringLiteral("mailto:") + AboutView::contactEmail()));
    QTest::mouseClick(about.developerRow(), Qt::LeftButton);
    EXPECT_EQ(links, 3);
}

}  // namespace
}  // namespace orvane
