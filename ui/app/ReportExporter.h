// The report commands: "Copy All" puts the text report on the clipboard, "Export Report…"
// writes it to a file in the format the user picks.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "service/Report.h"
#include "service/SystemService.h"

class QWidget;

namespace orvane {

class Messages;

class ReportExporter : public QObject {
    Q_OBJECT
  public:
    // `svc` gives the service of the machine shown, `window` the save dialog's window; a
    // failure is said through `messages`.
    ReportExporter(std::function<std::shared_ptr<SystemService>()> svc,
                   std::function<QWidget*()> window, const Messages& messages,
                   QObject* parent = nullptr);

    // The whole report of the machine shown, from its published records (the live part is the
    // latest sample), as orvane-report writes it.
    QString report(ReportFormat format) const;
    // "Copy All": the text report to the clipboard.
    void copyAll() const;
    // "Export Report…": asks where in a save dialog, then writes.
    void exportReport();
    // The save dialog's file types, text first.
    static QStringList filters();
    // Writes the report to `path`: as the file type its ending names (.txt, .md, .json), else
    // as `nameFilter` (one of filters()) says, else as text. A failure is said in a message
    // and leaves any earlier file as it was.
    bool exportTo(const QString& path, const QString& nameFilter = {}) const;

    // The commands' names, for their menu items.
    static QString copyAllText();
    static QString exportText();

  private:
    std::function<std::shared_ptr<SystemService>()> svc_;
    std::function<QWidget*()> window_;
    const Messages& messages_;
};

}  // namespace orvane
