// Before the application object is made: is there a window system to open a window on? Qt
// aborts when none of its platform plugins can start (a Wayland session without Qt's Wayland
// plugin, no display at all); this says so in one line instead, and falls back to X11 where a
// Wayland session lacks the plugin but an X11 display is there.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

namespace orvane::DisplayCheck {

struct Outcome {
    QByteArray platform;  // to put in QT_QPA_PLATFORM; empty: leave Qt's choice alone
    QString note;         // one line worth telling, start-up goes on
    QString problem;      // no platform can start: one line, then exit 2
};

using Environment = std::function<QByteArray(const char* name)>;

// `platformArgument`: the value of a -platform option, if any. `pluginDirs`: the directories
// Qt searches for platform plugins.
Outcome check(const Environment& env, const QString& platformArgument,
              const QStringList& pluginDirs);

// The directories Qt searches for platform plugins, from the environment and Qt's own paths.
QStringList pluginDirs(const Environment& env);

// The value of -platform / --platform in argv, if given.
QString platformArgument(int argc, char** argv);

}  // namespace orvane::DisplayCheck
