// The report and capture commands: Copy All, the export file types, Open Capture… with good
// and bad directories, a dropped capture, and the way back to this machine.
#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QMainWindow>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "service/platform/ReplayPlatform.h"
#include "ui/app/OrvaneApp.h"
#include "ui/shell/ContentView.h"
#include "ui/shell/SidebarList.h"

namespace orvane {
namespace {

std::shared_ptr<const Platform> replayOf(const char* name) {
    return std::make_shared<ReplayPlatform>(std::string(ORVANE_FIXTURES) + "/" + name);
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

TEST(ReportCommands, CopyAllAndEachExportType) {
    OrvaneApp app(replayOf("mac-portable"));
    QStringList messages;
    app.setMessageSink([&](const QString& title, const QString&) { messages << title; });
    app.showMainWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.svc()->loaded(); }, 5000));

    // The shortcut reaches the window's action wherever the focus is.
    app.mainWindow()->activateWindow();
    app.contentView()->sidebarList()->setFocus();
    QTest::keyClick(app.contentView()->sidebarList(), Qt::Key_C,
                    Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), app.report(ReportFormat::text));
    EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith("MacBook Pro\n  Model "));
    EXPECT_EQ(app.contentView()->reportMenu()->actions(),
              (QList<QAction*>{app.copyAllAction(), app.exportAction()}));

    // The ending decides; without a known one, the chosen file type.
    QTemporaryDir dir;
    const struct {
        const char* name;
        const char* filter;
        const char* starts;
    } cases[] = {
        {"a.txt", "", "MacBook Pro\n"},
        {"b.MD", "", "# MacBook Pro\n"},
        {"c.json", "Markdown (*.md)", "{\n  \"battery\""},
        {"d", "Markdown (*.md)", "# MacBook Pro\n"},
        {"e.report", "", "MacBook Pro\n"},
    };
    for (const auto& c : cases) {
        const QString path = dir.filePath(QLatin1String(c.name));
        EXPECT_TRUE(app.exportReportTo(path, QLatin1String(c.filter))) << c.name;
        EXPECT_TRUE(readAll(path).startsWith(c.starts)) << c.name;
    }
    EXPECT_TRUE(messages.isEmpty());
    // A write that fails is said, never lost silently.
    EXPECT_FALSE(app.exportReportTo(dir.filePath(QStringLiteral("missing/x.txt"))));
    EXPECT_EQ(messages, QStringList{QStringLiteral("The report could not be saved")});
}

TEST(ReportCommands, OpenCaptureDropAndBack) {
    OrvaneApp app(replayOf("mac-portable"));
    QStringList messages;
    app.setMessageSink([&](const QString& title, const QString&) { messages << title; });
    app.showMainWindow();
    app.contentView()->setSelection(Section::storage);
    const std::shared_ptr<SystemService> home = app.svc();
    ASSERT_TRUE(QTest::qWaitFor([&] { return home->loaded(); }, 5000));

    // Not captures: nothing changes but a message.
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("empty"));
    QDir(dir.path()).mkpath(QStringLiteral("odd/live.json"));  // a capture file that is not a file
    for (const QString& bad :
         {dir.filePath(QStringLiteral("empty")), dir.filePath(QStringLiteral("odd")),
          dir.filePath(QStringLiteral("absent"))}) {
        EXPECT_FALSE(app.openCapture(bad)) << bad.toStdString();
        EXPECT_EQ(app.svc(), home);
        EXPECT_EQ(app.mainWindow()->windowTitle(), QStringLiteral("Orvane"));
        EXPECT_FALSE(app.showThisMachineAction()->isEnabled());
    }
    EXPECT_EQ(messages, (QStringList{QStringLiteral("This is not a capture"),
                                     QStringLiteral("The capture could not be read"),
                                     QStringLiteral("This is not a capture")}));

    // A capture dropped on the window shows in it, on the same page.
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QStringLiteral(ORVANE_FIXTURES "/mac-desktop"))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(app.mainWindow(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(app.mainWindow(), &drop);
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.captureName() == "mac-desktop"; }, 5000));
    EXPECT_EQ(app.mainWindow()->windowTitle(), QStringLiteral("mac-desktop — Orvane"));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return app.svc()->hardware().modelName == "Mac Studio"; }, 5000));
    EXPECT_EQ(app.contentView()->selection(), Section::storage);
    EXPECT_TRUE(app.report(ReportFormat::text).startsWith("Mac Studio\n"));

    app.showThisMachineAction()->trigger();
    EXPECT_EQ(app.svc(), home);
    EXPECT_EQ(app.mainWindow()->windowTitle(), QStringLiteral("Orvane"));
    EXPECT_FALSE(app.showThisMachineAction()->isEnabled());
    EXPECT_EQ(messages.size(), 3);
}

}  // namespace orvane
