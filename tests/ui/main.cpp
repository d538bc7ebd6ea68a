// The UI tests' entry point: one QApplication for all tests, off-screen, with settings kept
// in a temporary directory so no test touches the user's own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include "ui/app/AppStyle.h"
#include "ui/app/Translations.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir settingsDir;
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    // The health journal too: a test never records into the user's.
    qputenv("XDG_STATE_HOME", settingsDir.path().toUtf8());
#if defined(Q_OS_MACOS)
    qputenv("HOME", settingsDir.path().toUtf8());
#endif

    QApplication app(argc, argv);
    Q_INIT_RESOURCE(resources);
    QApplication::setApplicationName(QStringLiteral("OrvaneTests"));
    QApplication::setOrganizationName(QStringLiteral("Orvane"));
    QApplication::setStyle(new orvane::AppStyle);
    // English, as the application shows it: the plurals come from its catalogue.
    orvane::Translations::install(QStringLiteral("en"));

    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
