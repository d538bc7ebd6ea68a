// Orvane: one window with five pages about the machine, and an About window.
#include <sys/stat.h>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>
#include <optional>

#include "service/platform/HostPlatform.h"
#include "service/platform/ReplayPlatform.h"
#include "ui/app/AppStyle.h"
#include "ui/app/CommandLine.h"
#include "ui/app/DisplayCheck.h"
#include "ui/app/OrvaneApp.h"
#include "ui/app/ScreenshotRenderer.h"
#include "ui/app/Translations.h"
#include "ui/pages/AboutView.h"
#include "ui/shell/ContentView.h"
#include "ui/shell/ScreenFit.h"
#include "ui/shell/Section.h"

namespace {

// Qt reads the settings file on first use and blocks on one that is a FIFO (or never ends on a
// device). Such a file is left alone: this run keeps its settings in a place of its own, with
// the defaults, and says so once. (A Mac's preferences go through the system's own service.)
void useSettingsIfReadable() {
#if !defined(Q_OS_MACOS)
    static QTemporaryDir own;
    const QString organization = QApplication::organizationName();
    QStringList files;
    for (const QString& dir :
         QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation))
        files << dir + QLatin1Char('/') + organization + QLatin1Char('/') +
                     QApplication::applicationName() + QStringLiteral(".conf")
              << dir + QLatin1Char('/') + organization + QStringLiteral(".conf");
    for (const QString& file : files) {
        struct stat st {};
        if (::stat(QFile::encodeName(file).constData(), &st) != 0 || S_ISREG(st.st_mode)) continue;
        std::fprintf(stderr, "orvane: %s is not a regular file: settings are not read or kept\n",
                     qPrintable(file));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, own.path());
        QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, own.path());
        return;
    }
#endif
}

}  // namespace

int main(int argc, char** argv) {
    orvane::CommandLine options;
    if (const std::optional<int> status = options.parse(argc, argv)) return *status;
    // Screenshots never need a screen: render off-screen unless told otherwise.
    if (!options.screenshot.isEmpty() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    {
        const orvane::DisplayCheck::Environment env = [](const char* name) {
            return qgetenv(name);
        };
        const orvane::DisplayCheck::Outcome display =
            orvane::DisplayCheck::check(env, orvane::DisplayCheck::platformArgument(argc, argv),
                                        orvane::DisplayCheck::pluginDirs(env));
        if (!display.problem.isEmpty()) {
            std::fprintf(stderr, "orvane: %s\n", qPrintable(display.problem));
            return 2;
        }
        if (!display.note.isEmpty()) std::fprintf(stderr, "orvane: %s\n", qPrintable(display.note));
        if (!display.platform.isEmpty()) qputenv("QT_QPA_PLATFORM", display.platform);
    }
#endif

    QApplication app(argc, argv);
    Q_INIT_RESOURCE(resources);
    QApplication::setApplicationName(QStringLiteral("Orvane"));
    QApplication::setApplicationDisplayName(QStringLiteral("Orvane"));
    QApplication::setOrganizationName(QStringLiteral("Orvane"));
    QApplication::setOrganizationDomain(QStringLiteral("orvane.app"));
    // The desktop entry's name: the desktop finds the launcher's icon and name through it.
    QGuiApplication::setDesktopFileName(QStringLiteral("app.orvane.Orvane"));
    QApplication::setApplicationVersion(QStringLiteral(ORVANE_VERSION));
    useSettingsIfReadable();
    // The system's language or the one asked for; numbers use the decimal separator of that
    // locale, which an app started from the Finder or the Dock does not get through the C library.
    orvane::Translations::install(options.language);
    QApplication::setStyle(new orvane::AppStyle);
    QApplication::setWindowIcon(orvane::AboutView::appIcon());

    std::shared_ptr<const orvane::Platform> platform;
    if (!options.replay.isEmpty()) {
        auto captured = std::make_shared<orvane::ReplayPlatform>(
            QDir(options.replay).absolutePath().toStdString());
        // A capture that cannot be read whole is not shown as a machine, as Open Capture
        // refuses it; what was left out of one that was read is said.
        for (const std::string& problem : captured->problems())
            std::fprintf(stderr, "orvane: %s\n", problem.c_str());
        if (!captured->problems().empty()) return 2;
        for (const std::string& note : captured->notes())
            std::fprintf(stderr, "orvane: %s\n", note.c_str());
        platform = std::move(captured);
    } else {
        platform = orvane::makeHostPlatform(
            options.sysroot.isEmpty() ? "/" : QDir(options.sysroot).absolutePath().toStdString());
    }

    orvane::OrvaneApp orvane(platform);
    // The journal records this machine as the user runs it: not a tree read from elsewhere,
    // nor a run that only renders pictures (which still show the points recorded).
    if (!options.sysroot.isEmpty()) {
        orvane.journal().setRoot(QDir(options.sysroot).absolutePath().toStdString());
        orvane.journal().setRecordingAllowed(QDir(options.sysroot).canonicalPath() ==
                                             QLatin1String("/"));
    }
    if (!options.screenshot.isEmpty()) orvane.journal().setRecordingAllowed(false);
    if (!options.replay.isEmpty())
        orvane.machines().setStartCaptureName(
            QFileInfo(QDir(options.replay).absolutePath()).fileName());
    if (!options.screenshot.isEmpty()) {
        const QString dir = QDir(options.screenshot).absolutePath();
        orvane::ScreenshotRenderer renderer(orvane, dir, options.windowSize,
                                            !options.replay.isEmpty());
        QObject::connect(&renderer, &orvane::ScreenshotRenderer::finished, &app, [&](bool ok) {
            if (ok)
                std::printf("Screenshots written to %s\n", qPrintable(dir));
            else
                std::fprintf(stderr, "orvane: could not write the screenshots to %s\n",
                             qPrintable(dir));
            QCoreApplication::exit(ok ? 0 : 1);
        });
        renderer.start();
        return app.exec();
    }
    if (options.section) orvane.contentView()->setSelection(*options.section);
    // On a small or strongly scaled screen the window's minimum shrinks to what the screen shows.
    orvane::ScreenFit::keep(orvane.mainWindow());
    orvane.showMainWindow();
    return app.exec();
}
