// The application object: owns the one SystemService, the main window and the About window,
// keeps the stored appearance and applies it to both windows, and provides the menu command
// that opens the About window.
#pragma once

#include <QObject>
#include <QPointer>
#include <QSize>
#include <memory>
#include <optional>
#include <vector>

#include "service/SystemService.h"
#include "service/platform/Platform.h"
#include "ui/app/Appearance.h"

class QAction;
class QMainWindow;
class QWidget;

namespace orvane {

class AboutView;
class ContentView;

class OrvaneApp : public QObject {
    Q_OBJECT
  public:
    explicit OrvaneApp(std::shared_ptr<const Platform> platform, QObject* parent = nullptr);
    ~OrvaneApp() override;

    // The service, created on first use.
    std::shared_ptr<SystemService> svc();
    // The main window and its content, created on first use (not shown).
    QMainWindow* mainWindow();
    ContentView* contentView();
    // Shows the main window at its opening size.
    void showMainWindow();

    // "About Orvane": opens the About window, or brings the open one forward.
    AboutView* openAbout();
    // The About window while it is open.
    AboutView* aboutWindow() const;
    QAction* aboutAction() const { return aboutAction_; }
    // The View menu's commands: one per page, in sidebar order, and Refresh.
    const std::vector<QAction*>& pageActions() const { return pageActions_; }
    QAction* refreshAction() const { return refreshAction_; }

    // The stored appearance text ("system" when nothing is stored).
    QString appearanceRaw() const;
    // Stores a choice and applies it to both windows.
    void setAppearanceRaw(const QString& raw);
    // Shows a scheme regardless of the stored choice (nothing: back to the stored choice).
    // Stores nothing; used for screenshots.
    void setSchemeOverride(std::optional<ColorScheme> scheme);
    // The scheme the windows show.
    ColorScheme currentScheme() const { return scheme_; }
    // The scheme the system shows.
    static ColorScheme systemScheme();

    // Renders every section and the About window, light and dark, to PNG files in `dir` with
    // the window at `size` (at least its minimum size), once the first full load and two live
    // samples have been published. Returns false when a file could not be written. With
    // `fillHistory` (a replayed machine), the live history is filled first.
    bool saveScreenshots(const QString& dir, const QSize& size = {}, bool fillHistory = false);

  signals:
    void schemeChanged(orvane::ColorScheme scheme);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void applyScheme();
    void stylize(QWidget* window);
    void buildMenus();

    std::shared_ptr<const Platform> platform_;
    std::shared_ptr<SystemService> svc_;
    QPointer<QMainWindow> main_;
    QPointer<ContentView> content_;
    QPointer<AboutView> about_;
    QAction* aboutAction_ = nullptr;
    std::vector<QAction*> pageActions_;
    QAction* refreshAction_ = nullptr;
    std::optional<ColorScheme> override_;
    ColorScheme scheme_ = ColorScheme::light;
    bool applied_ = false;
};

}  // namespace orvane
