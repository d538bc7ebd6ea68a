// The options of the orvane program, read before any window system is opened, so that
// --help, --version and a wrong option work on a machine without a display.
#pragma once

#include <QSize>
#include <QString>
#include <optional>

#include "ui/shell/Section.h"

namespace orvane {

struct CommandLine {
    QString replay;      // a capture directory to show instead of this machine
    QString sysroot;     // Linux: read /proc and /sys under this directory
    QString screenshot;  // render every page to this directory, then exit
    QSize windowSize;    // with screenshot: the window's size (empty: its smallest)
    std::optional<Section> section;
    QString language;  // "de": show this language instead of the system's

    // Reads argv. Prints the help or the version (status 0) or one line about what is wrong
    // (status 2) and answers the status when the program should end there.
    std::optional<int> parse(int argc, char** argv);
};

}  // namespace orvane
