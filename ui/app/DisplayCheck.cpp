#include "ui/app/DisplayCheck.h"

#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>

namespace orvane::DisplayCheck {

namespace {

bool hasPlugin(const QStringList& dirs, const QString& pattern) {
    for (const QString& dir : dirs) {
        if (!QDir(dir).entryList({pattern}, QDir::Files).isEmpty()) return true;
    }
    return false;
}

// The compositor's socket as a Wayland client finds it: an absolute WAYLAND_DISPLAY, or that
// name (default "wayland-0" in a Wayland session) under XDG_RUNTIME_DIR.
bool waylandSocket(const Environment& env) {
    if (!env("WAYLAND_SOCKET").isEmpty()) return true;
    QByteArray name = env("WAYLAND_DISPLAY");
    if (name.isEmpty() && env("XDG_SESSION_TYPE") == "wayland") name = "wayland-0";
    if (name.isEmpty()) return false;
    const QString path = QFile::decodeName(name);
    if (QDir::isAbsolutePath(path)) return QFileInfo::exists(path);
    const QByteArray runtime = env("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(QFile::decodeName(runtime) + u'/' + path);
}

}  // namespace

Outcome check(const Environment& env, const QString& platformArgument,
              const QStringList& pluginDirs) {
    const bool waylandPlugin = hasPlugin(pluginDirs, QStringLiteral("libqwayland*.so"));
    const bool xcbPlugin = hasPlugin(pluginDirs, QStringLiteral("libqxcb.so"));
    const bool wayland = waylandSocket(env);
    const bool x11 = !env("DISPLAY").isEmpty();
    const auto usable = [&](QString name) {
        name = name.section(u':', 0, 0).trimmed();  // "wayland:option" names "wayland"
        if (name.startsWith(QLatin1String("wayland"))) return waylandPlugin && wayland;
        if (name == QLatin1String("xcb")) return xcbPlugin && x11;
        return true;  // another platform (offscreen, vnc, eglfs ...): Qt's to judge
    };
    const QByteArray named = env("WAYLAND_DISPLAY");
    const QString noWindow =
        !named.isEmpty() && !wayland && !x11
            ? QStringLiteral(
                  "cannot open a window: no Wayland compositor at WAYLAND_DISPLAY "
                  "(%1) and no X11 display is set")
                  .arg(QString::fromLocal8Bit(named))
            : QStringLiteral(
                  "cannot open a window: no display (neither WAYLAND_DISPLAY nor "
                  "DISPLAY names one); orvane-report prints the report without one");
    const QString noWaylandPlugin = QStringLiteral(
        "cannot open a window: Wayland needs Qt's Wayland support (package qt6-wayland), and "
        "no X11 display is set");

    // Asked for by name (a list is tried in order): one of them must be able to start.
    QString asked = platformArgument;
    if (asked.isEmpty()) asked = QString::fromLocal8Bit(env("QT_QPA_PLATFORM"));
    if (!asked.isEmpty()) {
        const QStringList names = asked.split(u';', Qt::SkipEmptyParts);
        for (const QString& name : names) {
            if (usable(name)) return {};
        }
        const bool wantsWayland = names.first().trimmed().startsWith(QLatin1String("wayland"));
        return {{}, {}, wantsWayland && wayland && !waylandPlugin ? noWaylandPlugin : noWindow};
    }
    if (wayland && !waylandPlugin) {
        if (xcbPlugin && x11)
            return {"xcb",
                    QStringLiteral("Qt's Wayland support (package qt6-wayland) is not "
                                   "installed: using X11 instead"),
                    {}};
        return {{}, {}, noWaylandPlugin};
    }
    if (!usable(QStringLiteral("wayland")) && !usable(QStringLiteral("xcb")))
        return {{}, {}, noWindow};
    return {};
}

QStringList pluginDirs(const Environment& env) {
    QStringList dirs;
    const QString own = QFile::decodeName(env("QT_QPA_PLATFORM_PLUGIN_PATH"));
    if (!own.isEmpty()) dirs << own;
    for (const QString& dir :
         QFile::decodeName(env("QT_PLUGIN_PATH")).split(u':', Qt::SkipEmptyParts))
        dirs << dir + QStringLiteral("/platforms");
    dirs << QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms");
    return dirs;
}

QString platformArgument(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        const QByteArray a(argv[i]);
        if (a == "-platform" || a == "--platform") return QString::fromLocal8Bit(argv[i + 1]);
    }
    return {};
}

}  // namespace orvane::DisplayCheck
