#include "ui/app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

#include "ui/app/Translations.h"
#include "ui/model/PageText.h"

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
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVANE_VERSION));

    // The help speaks the language asked for, so --lang is read before the rest.
    const QStringList args = QCoreApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--lang") && i + 1 < args.size())
            language = args[i + 1];
        else if (args[i].startsWith(QLatin1String("--lang=")))
            language = args[i].mid(7);
    }
    if (!Translations::available(language)) language.clear();
    Translations::install(language);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Orvane - %1").arg(QString::fromStdString(PageText::tagline({}))));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const auto option = [&](const char* name, const char* valueName, const char* description) {
        QCommandLineOption o(QString::fromLatin1(name),
                             QCoreApplication::translate("CommandLine", description),
                             QString::fromLatin1(valueName));
        parser.addOption(o);
        return o;
    };
    // Qt's own options ("-platform wayland", "-style fusion") are the application object's to
    // take later: accept them here without listing them.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const char* name :
         {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
          "qwindowtitle", "session", "display", "geometry", "style", "stylesheet"}) {
        QCommandLineOption qt(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        qt.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(qt);
    }
    for (const char* name : {"reverse", "widgetcount", "nograb", "dograb"}) {
        QCommandLineOption qt(QString::fromLatin1(name));
        qt.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(qt);
    }
    const auto replayOpt =
        option("replay", "dir",
               QT_TRANSLATE_NOOP("CommandLine",
                                 "Show the captured machine in <dir> instead of this one."));
    const auto sysrootOpt = option(
        "sysroot", "dir",
        QT_TRANSLATE_NOOP("CommandLine", "Read /proc and /sys under <dir> instead of / (Linux)."));
    const auto screenshotOpt = option("screenshot", "dir",
                                      QT_TRANSLATE_NOOP("CommandLine",
                                                        "Render every page and the About window, "
                                                        "light and dark, to PNG files in <dir>, "
                                                        "then exit."));
    const auto sizeOpt = option("window-size", "size",
                                QT_TRANSLATE_NOOP("CommandLine",
                                                  "With --screenshot: the window's size, "
                                                  "<width>x<height> (default: its smallest)."));
    const auto sectionOpt = option("section", "name",
                                   QT_TRANSLATE_NOOP("CommandLine",
                                                     "Open on page <name>: overview, battery, "
                                                     "storage, performance or displays."));
    const auto langOpt = option(
        "lang", "language",
        QT_TRANSLATE_NOOP("CommandLine",
                          "Show the interface in <language> (de or en) instead of the system's."));

    if (!parser.parse(QCoreApplication::arguments())) return fail(parser.errorText());
    if (parser.isSet(help)) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("Orvane %s\n", ORVANE_VERSION);
        return 0;
    }
    if (!parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("unexpected argument: ") + parser.positionalArguments().first());

    if (parser.isSet(sectionOpt)) {
        section = sectionFromRaw(parser.value(sectionOpt));
        if (!section) return fail(QStringLiteral("unknown section: ") + parser.value(sectionOpt));
    }
    if (parser.isSet(langOpt) && !Translations::available(parser.value(langOpt)))
        return fail(QStringLiteral("unknown language: ") + parser.value(langOpt));
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
        // Larger pictures take gigabytes and go beyond what painting handles.
        constexpr int kMaxSide = 8192;
        if (windowSize.width() > kMaxSide || windowSize.height() > kMaxSide)
            return fail(QStringLiteral("window size larger than %1x%1: ").arg(kMaxSide) +
                        parser.value(sizeOpt));
    }
    screenshot = parser.value(screenshotOpt);
    return std::nullopt;
}

}  // namespace orvane
