// The report and capture commands: Copy All by its shortcut, the export file types, a failed
// write, Open Capture… with directories that are not captures, a dropped capture, and back.
#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMainWindow>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

#include "service/platform/ReplayPlatform.h"
#include "ui/app/OrvaneApp.h"
#include "ui/shell/ContentView.h"
#include "ui/shell/SidebarList.h"

namespace orvane {

TEST(ReportCommands, CopyExportOpenCaptureAndBack) {
    // Started as `--replay` starts it: the capture's name is in the title from the start.
    OrvaneApp app(std::make_shared<ReplayPlatform>(ORVANE_FIXTURES "/mac-portable"));
    app.machines().setStartCaptureName(QStringLiteral("mac-portable"));
    QStringList messages;
    app.setMessageSink([&](const QString& title, const QString&) { messages << title; });
    app.showMainWindow();
    app.contentView()->setSelection(Section::storage);
    const std::shared_ptr<SystemService> home = app.svc();
    ASSERT_TRUE(QTest::qWaitFor([&] { return home->loaded(); }, 5000));

    // The shortcut reaches the window's action wherever the focus is.
    app.mainWindow()->activateWindow();
    QTest::keyClick(app.contentView()->sidebarList(), Qt::Key_C,
                    Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), app.reports().report(ReportFormat::text));

    // The ending decides; without a known one, the chosen file type.
    QTemporaryDir dir;
    const char* const cases[][3] = {{"a.txt", "", "MacBook Pro\n"},
                                    {"b.MD", "", "# MacBook Pro\n"},
                                    {"c.json", "Markdown (*.md)", "{\n  \"battery\""},
                                    {"d", "Markdown (*.md)", "# MacBook Pro\n"},
                                    {"e.report", "", "MacBook Pro\n"}};
    for (const auto& [name, filter, starts] : cases) {
        QFile file(dir.filePath(QLatin1String(name)));
        EXPECT_TRUE(app.reports().exportTo(file.fileName(), QLatin1String(filter))) << name;
        EXPECT_TRUE(file.open(QIODevice::ReadOnly) && file.readAll().startsWith(starts)) << name;
    }
    // A write that fails is said, never lost silently; so are directories that are not
    // captures, and the window keeps showing what it showed.
    EXPECT_FALSE(app.reports().exportTo(dir.filePath(QStringLiteral("missing/x.txt"))));
    QDir(dir.path()).mkpath(QStringLiteral("empty"));
    QDir(dir.path()).mkpath(QStringLiteral("odd/live.json"));  // a capture file that is not a file
    QDir(dir.path()).mkpath(QStringLiteral("refused"));        // facts of a later version
    QFile refused(dir.filePath(QStringLiteral("refused/facts.json")));
    EXPECT_TRUE(refused.open(QIODevice::WriteOnly) &&
                refused.write(R"({"format": "orvane-facts", "version": 9})") > 0);
    refused.close();
    for (const char* bad : {"empty", "odd", "absent", "refused"}) {
        EXPECT_FALSE(app.machines().open(dir.filePath(QLatin1String(bad)))) << bad;
        EXPECT_EQ(app.svc(), home);
        EXPECT_EQ(app.mainWindow()->windowTitle(), QStringLiteral("mac-portable — Orvane"));
        EXPECT_FALSE(app.menus().showHome()->isEnabled());
    }
    EXPECT_EQ(messages, (QStringList{"The report could not be saved", "This is not a capture",
                                     "The capture could not be read", "This is not a capture",
                                     "The capture could not be read"}));

    // A capture dropped on the window shows in it, on the same page.
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QStringLiteral(ORVANE_FIXTURES "/mac-desktop"))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(app.mainWindow(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(app.mainWindow(), &drop);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return app.machines().captureName() == "mac-desktop"; }, 5000));
    EXPECT_EQ(app.mainWindow()->windowTitle(), QStringLiteral("mac-desktop — Orvane"));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return app.reports().report(ReportFormat::text).startsWith("Mac Studio\n"); }, 5000));
    EXPECT_EQ(app.contentView()->selection(), Section::storage);
    EXPECT_EQ(app.contentView()->reportMenu()->actions(),
              (QList<QAction*>{app.menus().copyAll(), app.menus().exportReport()}));

    app.menus().showHome()->trigger();
    EXPECT_EQ(app.svc(), home);
    EXPECT_EQ(app.mainWindow()->windowTitle(), QStringLiteral("mac-portable — Orvane"));
    EXPECT_FALSE(app.menus().showHome()->isEnabled());
}

}  // namespace orvane
