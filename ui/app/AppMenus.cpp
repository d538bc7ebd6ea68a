#include "ui/app/AppMenus.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "ui/app/MachineSwitcher.h"
#include "ui/app/ReportExporter.h"
#include "ui/shell/Section.h"

namespace orvane {
namespace {

// Ctrl stands for Command on a Mac.
QAction* command(QObject* parent, const QString& text, QKeySequence shortcut = {}) {
    auto* action = new QAction(text, parent);
    action->setShortcut(shortcut);
    return action;
}

}  // namespace

AppMenus::AppMenus(QObject* parent)
    : QObject(parent),
      about_(command(this, tr("About Orvane"))),
      openCapture_(command(this, MachineSwitcher::openText(), Qt::CTRL | Qt::Key_O)),
      showHome_(command(this, MachineSwitcher::showHomeText())),
      copyAll_(command(this, ReportExporter::copyAllText(), Qt::CTRL | Qt::SHIFT | Qt::Key_C)),
      export_(command(this, ReportExporter::exportText(), Qt::CTRL | Qt::Key_E)),
      refresh_(command(this, tr("Refresh"), Qt::CTRL | Qt::Key_R)),
      quit_(command(this, tr("Quit Orvane"), Qt::CTRL | Qt::Key_Q)) {
    about_->setMenuRole(QAction::AboutRole);
    showHome_->setEnabled(false);
    for (Section s : allSections())
        pages_.push_back(
            command(this, title(s), QKeySequence(Qt::CTRL | (Qt::Key_1 + static_cast<int>(s)))));
    quit_->setMenuRole(QAction::QuitRole);
    connect(quit_, &QAction::triggered, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void AppMenus::install(QMainWindow* window) {
    QMenuBar* bar = window->menuBar();
    // File: captures and the report, on a Mac too (its File menu holds them).
    QMenu* file = bar->addMenu(tr("&File"));
    file->addActions({openCapture_, showHome_});
    file->addSeparator();
    file->addActions({copyAll_, export_});
    if (!journal_.empty()) {
        file->addSeparator();
        file->addActions({journal_.begin(), journal_.end()});
    }

    QMenu* view = bar->addMenu(tr("&View"));
    view->addActions({pages_.begin(), pages_.end()});
    view->addSeparator();
    view->addAction(refresh_);
#if defined(Q_OS_MACOS)
    view->addAction(about_);
    view->addAction(quit_);
    QMenu* windowMenu = bar->addMenu(tr("Window"));
    QAction* minimize = windowMenu->addAction(tr("Minimize"));
    minimize->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    connect(minimize, &QAction::triggered, window, &QWidget::showMinimized);
    QAction* close = windowMenu->addAction(tr("Close"));
    close->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    connect(close, &QAction::triggered, window, &QWidget::close);
#else
    file->addSeparator();
    file->addAction(quit_);
    bar->addMenu(tr("&Help"))->addAction(about_);
#endif
    for (QMenu* menu : bar->findChildren<QMenu*>())
        menu->setAttribute(Qt::WA_WindowPropagation);
    // The window holds the page and Refresh shortcuts too: where the menu bar is exported to
    // the desktop (a global menu) or hidden, the window's own shortcuts still work.
    window->addActions({pages_.begin(), pages_.end()});
    window->addAction(refresh_);
}

}  // namespace orvane
