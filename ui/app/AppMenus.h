// The application's commands and the menu bar that holds them. A Mac's menus: the application
// menu (About and Quit move there by their roles), File, View with the pages and Refresh,
// Window with Minimize and Close. Elsewhere a desktop application's: File with Quit, View,
// Help with About. The application connects the commands to what they do.
#pragma once

#include <QObject>
#include <vector>

class QAction;
class QMainWindow;

namespace orvane {

class AppMenus : public QObject {
    Q_OBJECT
  public:
    explicit AppMenus(QObject* parent = nullptr);

    QAction* about() const { return about_; }
    QAction* openCapture() const { return openCapture_; }
    // "Show This Computer": enabled while a capture is shown.
    QAction* showHome() const { return showHome_; }
    QAction* copyAll() const { return copyAll_; }
    QAction* exportReport() const { return export_; }
    // One per page, in sidebar order.
    const std::vector<QAction*>& pages() const { return pages_; }
    QAction* refresh() const { return refresh_; }

    // The health history's commands ("Record Health History", "Clear History…"), in the File
    // menu after the report's; added before install().
    void addJournalCommands(QAction* record, QAction* clear) { journal_ = {record, clear}; }

    // Builds `window`'s menu bar from the commands.
    void install(QMainWindow* window);

  private:
    QAction* about_;
    QAction* openCapture_;
    QAction* showHome_;
    QAction* copyAll_;
    QAction* export_;
    std::vector<QAction*> pages_;
    QAction* refresh_;
    QAction* quit_;
    std::vector<QAction*> journal_;
};

}  // namespace orvane
