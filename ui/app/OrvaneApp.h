// The application object: owns the SystemService of the machine shown, the main window and the
// About window, keeps the stored appearance and applies it to both windows, and provides the
// menu commands: About, the report (Copy All, Export Report…) and captures (Open Capture…,
// back to this machine).
#pragma once

#include <QObject>
#include <QPointer>
#include <QSize>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "service/Report.h"
#include "service/SystemService.h"
#include "service/platform/Platform.h"
#include "ui/model/Appearance.h"

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

    // The service of the machine shown, created on first use.
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
    QAction* copyAllAction() const { return copyAllAction_; }
    QAction* exportAction() const { return exportAction_; }
    QAction* openCaptureAction() const { return openCaptureAction_; }
    QAction* showThisMachineAction() const { return showThisMachineAction_; }

    // The whole report of the machine shown, from its published records (the live part is the
    // latest sample), as orvane-report writes it.
    QString report(ReportFormat format);
    // "Copy All": the text report to the clipboard.
    void copyAll();
    // "Export Report…": asks where in a save dialog, then writes.
    void exportReport();
    // The save dialog's file types, text first.
    static QStringList exportFilters();
    // Writes the report to `path`: as the file type its ending names (.txt, .md, .json), else
    // as `nameFilter` (one of exportFilters()) says, else as text. A failure is said in a
    // message and leaves any earlier file as it was.
    bool exportReportTo(const QString& path, const QString& nameFilter = {});

    // "Open Capture…": asks for a directory, then opens it.
    void chooseCapture();
    // Shows the machine captured in `dir` in the window. A directory that is not a readable
    // capture is said in a message, and the window keeps showing what it showed.
    bool openCapture(const QString& dir);
    // Back to the machine the application started with.
    void showThisMachine();
    // The name of the capture shown (its directory's name); empty for this machine.
    QString captureName() const { return captureName_; }
    // The name of the capture this window shows at start (`--replay`), for its title; empty
    // for this machine. Call before the window is built.
    void setStartCaptureName(const QString& name) { startCaptureName_ = name; }

    // Where messages to the user go: a message box over the main window, unless set (tests).
    using MessageSink = std::function<void(const QString& title, const QString& text)>;
    void setMessageSink(MessageSink sink) { messageSink_ = std::move(sink); }

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
    void installContent();
    void show(std::shared_ptr<const Platform> platform, const QString& captureName);
    void tell(const QString& title, const QString& text);

    std::shared_ptr<const Platform> platform_;  // of the machine shown
    std::shared_ptr<SystemService> svc_;
    // The machine the application started with, kept while a capture is shown.
    std::shared_ptr<const Platform> home_;
    std::shared_ptr<SystemService> homeSvc_;
    QString captureName_;
    QString startCaptureName_;
    MessageSink messageSink_;
    QPointer<QMainWindow> main_;
    QPointer<ContentView> content_;
    QPointer<AboutView> about_;
    QAction* aboutAction_ = nullptr;
    std::vector<QAction*> pageActions_;
    QAction* refreshAction_ = nullptr;
    QAction* copyAllAction_ = nullptr;
    QAction* exportAction_ = nullptr;
    QAction* openCaptureAction_ = nullptr;
    QAction* showThisMachineAction_ = nullptr;
    std::optional<ColorScheme> override_;
    ColorScheme scheme_ = ColorScheme::light;
    bool applied_ = false;
};

}  // namespace orvane
