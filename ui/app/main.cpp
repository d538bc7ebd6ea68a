// Orvane: one window with five pages about the machine, and an About window.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <cstdio>
#include <optional>

#include "service/platform/HostPlatform.h"
#include "service/platform/ReplayPlatform.h"
#include "ui/app/AppStyle.h"
#include "ui/app/CommandLine.h"
#include "ui/app/DisplayCheck.h"
#include "ui/app/OrvaneApp.h"
#include "ui/app/Translations.h"
#include "ui/pages/AboutView.h"
#include "ui/shell/ContentView.h"
#include "ui/shell/ScreenFit.h"
#include "ui/shell/Section.h"

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
    // The system's language or the one asked for; numbers use the decimal separator of that
    // locale, which an app started from the Finder or the Dock does not get through the C library.
    orvane::Translations::install(options.language);
    QApplication::setStyle(new orvane::AppStyle);
    QApplication::setWindowIcon(orvane::AboutView::appIcon());

    std::shared_ptr<const orvane::Platform> platform;
    if (!options.replay.isEmpty()) {
        auto captured = std::make_shared<orvane::ReplayPlatform>(
            QDir(options.replay).absolutePath().toStdString());
        // What could not be read is said once; the window shows what could.
        for (const std::string& problem : captured->problems())
            std::fprintf(stderr, "orvane: %s\n", problem.c_str());
        platform = std::move(captured);
    } else {
        platform = orvane::makeHostPlatform(
            options.sysroot.isEmpty() ? "/" : QDir(options.sysroot).absolutePath().toStdString());
    }

    orvane::OrvaneApp orvane(platform);
    if (!options.replay.isEmpty())
        orvane.setStartCaptureName(QFileInfo(QDir(options.replay).absolutePath()).fileName());
    if (!options.screenshot.isEmpty()) {
        const QString dir = QDir(options.screenshot).absolutePath();
        if (!orvane.saveScreenshots(dir, options.windowSize, !options.replay.isEmpty())) {
            std::fprintf(stderr, "orvane: could not write the screenshots to %s\n",
                         qPrintable(dir));
            return 1;
        }
        std::printf("Screenshots written to %s\n", qPrintable(dir));
        return 0;
    }
    if (options.section) orvane.contentView()->setSelection(*options.section);
    // On a small or strongly scaled screen the window's minimum shrinks to what the screen shows.
    orvane::ScreenFit::keep(orvane.mainWindow());
    orvane.showMainWindow();
    return app.exec();
}
