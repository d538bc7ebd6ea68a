#include "ui/app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

#include "ui/pages/AboutView.h"
#include "ui/pages/PageText.h"

namespace orvane {

namespace {

int fail(const QString& message) {
    std::fprintf(stderr, "orvane: %s\n", qPrintable(message));
    return 2;
}

}  // namespace

std::optional<int> CommandLine::parse(int argc, char** argv) {
    // A plain core application: it opens no display.
    QCoreApplication core(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvane"));
    QCoreApplication::setApplicationVersion(AboutView::version());

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Orvane - %1").arg(QString::fromStdString(PageText::tagline({}))));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption replayOpt(
        QStringLiteral("replay"),
        QStringLiteral("Show the captured machine in <dir> instead of this one."),
        QStringLiteral("dir"));
    const QCommandLineOption sysrootOpt(
        QStringLiteral("sysroot"),
        QStringLiteral("Read /proc and /sys under <dir> instead of / (Linux)."),
        QStringLiteral("dir"));
    const QCommandLineOption screenshotOpt(
        QStringLiteral("screenshot"),
        QStringLiteral("Render every page and the About window, light and dark, to PNG files in "
                       "<dir>, then exit."),
        QStringLiteral("dir"));
    const QCommandLineOption sectionOpt(
        QStringLiteral("section"),
        QStringLiteral("Open on page <name>: overview, battery, storage, performance or displays."),
        QStringLiteral("name"));
    const QCommandLineOption sizeOpt(
        QStringLiteral("window-size"),
        QStringLiteral("With --screenshot: the window's size, <width>x<height> (default: its "
                       "smallest)."),
        QStringLiteral("size"));
    for (const QCommandLineOption& o : {replayOpt, sysrootOpt, screenshotOpt, sizeOpt, sectionOpt})
        parser.addOption(o);

    if (!parser.parse(QCoreApplication::arguments())) return fail(parser.errorText());
    if (parser.isSet(help)) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("Orvane %s\n", qPrintable(AboutView::version()));
        return 0;
    }
    if (!parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("unexpected argument: ") + parser.positionalArguments().first());

    if (parser.isSet(sectionOpt)) {
        section = sectionFromRaw(parser.value(sectionOpt));
        if (!section) return fail(QStringLiteral("unknown section: ") + parser.value(sectionOpt));
    }
    replay = parser.value(replayOpt);
    sysroot = parser.value(sysrootOpt);
    if (!replay.isEmpty() && !sysroot.isEmpty())
        return fail(QStringLiteral("--replay and --sysroot exclude each other"));
    if (!replay.isEmpty() && !QFileInfo(replay).isDir())
        return fail(QStringLiteral("not a capture directory: ") + replay);
    if (!sysroot.isEmpty() && !QFileInfo(sysroot).isDir())
        return fail(QStringLiteral("not a directory: ") + sysroot);

    if (parser.isSet(sizeOpt)) {
        const QStringList parts = parser.value(sizeOpt).split(QLatin1Char('x'));
        bool okW = false, okH = false;
        if (parts.size() == 2) windowSize = QSize(parts[0].toInt(&okW), parts[1].toInt(&okH));
        if (!okW || !okH || windowSize.isEmpty())
            return fail(QStringLiteral("not a window size (WIDTHxHEIGHT): ") +
                        parser.value(sizeOpt));
    }
    screenshot = parser.value(screenshotOpt);
    return std::nullopt;
}

}  // namespace orvane
