// The application object: owns the main window and the About window and wires the parts that
// do the work to them: the machine shown (MachineSwitcher), its colour scheme
// (AppearanceController), the report commands (ReportExporter) and the menus (AppMenus).
#pragma once

#include <QObject>
#include <QPointer>
#include <memory>

#include "service/SystemService.h"
#include "service/platform/Platform.h"
#include "ui/app/AppMenus.h"
#include "ui/app/AppearanceController.h"
#include "ui/app/JournalController.h"
#include "ui/app/MachineSwitcher.h"
#include "ui/app/Messages.h"
#include "ui/app/ReportExporter.h"

class QMainWindow;

namespace orvane {

class AboutView;
class ContentView;

class OrvaneApp : public QObject {
    Q_OBJECT
  public:
    explicit OrvaneApp(std::shared_ptr<const Platform> platform, QObject* parent = nullptr);
    ~OrvaneApp() override;

    // The service of the machine shown, created on first use.
    std::shared_ptr<SystemService> svc() { return machines_.svc(); }
    // The main window and its content, created on first use (not shown).
    QMainWindow* mainWindow();
    ContentView* contentView();
    // Shows the main window at its opening size.
    void showMainWindow();

    // "About Orvane": opens the About window, or brings the open one forward.
    AboutView* openAbout();
    // The About window while it is open.
    AboutView* aboutWindow() const;

    AppearanceController& appearance() { return appearance_; }
    MachineSwitcher& machines() { return machines_; }
    JournalController& journal() { return journal_; }
    ReportExporter& reports() { return reports_; }
    const AppMenus& menus() const { return menus_; }
    // Where messages to the user go: a message box over the main window, unless set (tests).
    void setMessageSink(Messages::Sink sink) { messages_.setSink(std::move(sink)); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void installContent();
    void showMachine();

    Messages messages_;
    AppearanceController appearance_;
    JournalController journal_;
    MachineSwitcher machines_;
    ReportExporter reports_;
    AppMenus menus_;
    QPointer<QMainWindow> main_;
    QPointer<ContentView> content_;
    QPointer<AboutView> about_;
};

}  // namespace orvane
