#include "ui/app/ReportExporter.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>
#include <QStandardPaths>
#include <vector>

#include "ui/app/Messages.h"
#include "ui/components/Accessible.h"

namespace orvane {
namespace {

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

}  // namespace

ReportExporter::ReportExporter(std::function<std::shared_ptr<SystemService>()> svc,
                               std::function<QWidget*()> window, const Messages& messages,
                               QObject* parent)
    : QObject(parent), svc_(std::move(svc)), window_(std::move(window)), messages_(messages) {}

QString ReportExporter::copyAllText() {
    return QCoreApplication::translate("OrvaneApp", "Copy All");
}

QString ReportExporter::exportText() {
    return QCoreApplication::translate("OrvaneApp", "Export Report…");
}

QString ReportExporter::report(ReportFormat format) const {
    return QString::fromStdString(formatReport(svc_()->snapshot(), format));
}

void ReportExporter::copyAll() const {
    QGuiApplication::clipboard()->setText(report(ReportFormat::text));
    Accessible::announce(window_(), QCoreApplication::translate("OrvaneApp", "Copied report"));
}

QStringList ReportExporter::filters() {
    QStringList filters;
    for (const ExportType& type : exportTypes())
        filters << type.filter;
    return filters;
}

void ReportExporter::exportReport() {
    QFileDialog dialog(window_(), exportText());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(filters());
    // A name typed without an ending gets the chosen type's.
    dialog.setDefaultSuffix(exportTypes().front().suffix);
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        for (const ExportType& type : exportTypes())
            if (type.filter == filter) dialog.setDefaultSuffix(type.suffix);
    });
    dialog.setDirectory(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    dialog.selectFile(QCoreApplication::translate("OrvaneApp", "Orvane Report") + QLatin1Char('.') +
                      exportTypes().front().suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    exportTo(dialog.selectedFiles().front(), dialog.selectedNameFilter());
}

bool ReportExporter::exportTo(const QString& path, const QString& nameFilter) const {
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
        messages_.tell(QCoreApplication::translate("OrvaneApp", "The report could not be saved"),
                       QCoreApplication::translate("OrvaneApp", "Orvane could not write “%1”: %2")
                           .arg(QDir::toNativeSeparators(path), file.errorString()));
        return false;
    }
    return true;
}

}  // namespace orvane
