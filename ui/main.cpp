// Orvane: one window with five pages about the machine, and an About window.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <cstdio>
#include <cstring>
#include <optional>

#include "service/platform/HostPlatform.h"
#include "service/platform/ReplayPlatform.h"
#include "ui/AppStyle.h"
#include "ui/ContentView.h"
#include "ui/OrvaneApp.h"
#include "ui/Section.h"
#include "ui/pages/AboutView.h"

namespace {

bool hasOption(int argc, char** argv, const char* name) {
    for (int i = 1; i < argc; ++i) {
        const std::size_t n = std::strlen(name);
        if (std::strncmp(argv[i], name, n) == 0 && (argv[i][n] == '\0' || argv[i][n] == '='))
            return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    // Screenshots never need a screen: render off-screen unless told otherwise.
    if (hasOption(argc, argv, "--screenshot") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    Q_INIT_RESOURCE(resources);
    QApplication::setApplicationName(QStringLiteral("Orvane"));
    QApplication::setApplicationDisplayName(QStringLiteral("Orvane"));
    QApplication::setOrganizationName(QStringLiteral("Orvane"));
    QApplication::setOrganizationDomain(QStringLiteral("orvane.app"));
    QApplication::setApplicationVersion(QStringLiteral("1.5"));
    QApplication::setStyle(new orvane::AppStyle);
    QApplication::setWindowIcon(orvane::AboutView::appIcon());

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Orvane - Know your Mac"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption replay(
        QStringLiteral("replay"),
        QStringLiteral("Show the captured machine in <dir> instead of this one."),
        QStringLiteral("dir"));
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QStringLiteral("Render every page and the About window, light and dark, to PNG files in "
                       "<dir>, then exit."),
        QStringLiteral("dir"));
    const QCommandLineOption section(
        QStringLiteral("section"),
        QStringLiteral("Open on page <name>: overview, battery, storage, performance or displays."),
        QStringLiteral("name"));
    parser.addOption(replay);
    parser.addOption(screenshot);
    parser.addOption(section);
    parser.process(app);
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "orvane: unexpected argument: %s\n",
                     qPrintable(parser.positionalArguments().first()));
        return 2;
    }

    std::optional<orvane::Section> startSection;
    if (parser.isSet(section)) {
        startSection = orvane::sectionFromRaw(parser.value(section));
        if (!startSection) {
            std::fprintf(stderr, "orvane: unknown section: %s\n",
                         qPrintable(parser.value(section)));
            return 2;
        }
    }

    std::shared_ptr<const orvane::Platform> platform;
    if (parser.isSet(replay)) {
        const QString dir = parser.value(replay);
        if (!QFileInfo(dir).isDir()) {
            std::fprintf(stderr, "orvane: not a capture directory: %s\n", qPrintable(dir));
            return 2;
        }
        auto captured =
            std::make_shared<orvane::ReplayPlatform>(QDir(dir).absolutePath().toStdString());
        // What could not be read is said once; the window shows what could.
        for (const std::string& problem : captured->problems())
            std::fprintf(stderr, "orvane: %s\n", problem.c_str());
        platform = std::move(captured);
    } else {
        platform = orvane::makeHostPlatform();
    }

    orvane::OrvaneApp orvane(platform);
    if (parser.isSet(screenshot)) {
        const QString dir = QDir(parser.value(screenshot)).absolutePath();
        if (!orvane.saveScreenshots(dir)) {
            std::fprintf(stderr, "orvane: could not write the screenshots to %s\n",
                         qPrintable(dir));
            return 1;
        }
        std::printf("Screenshots written to %s\n", qPrintable(dir));
        return 0;
    }
    if (startSection) orvane.contentView()->setSelection(*startSection);
    orvane.showMainWindow();
    return app.exec();
}
