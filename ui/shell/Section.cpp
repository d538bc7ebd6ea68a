#include "ui/shell/Section.h"

#include <QCoreApplication>

#include "ui/paint/Theme.h"

namespace orvane {

const std::array<Section, 6>& allSections() {
    static const std::array<Section, 6> all{Section::overview, Section::battery,
                                            Section::storage,  Section::performance,
                                            Section::displays, Section::sensors};
    return all;
}

QString rawValue(Section section) {
    switch (section) {
        case Section::overview:
            return QStringLiteral("overview");
        case Section::battery:
            return QStringLiteral("battery");
        case Section::storage:
            return QStringLiteral("storage");
        case Section::performance:
            return QStringLiteral("performance");
        case Section::displays:
            return QStringLiteral("displays");
        case Section::sensors:
            return QStringLiteral("sensors");
    }
    return {};
}

std::optional<Section> sectionFromRaw(const QString& raw) {
    for (Section s : allSections()) {
        if (rawValue(s) == raw) return s;
    }
    return std::nullopt;
}

QString title(Section section) {
    switch (section) {
        case Section::overview:
            return QCoreApplication::translate("Section", "Overview");
        case Section::battery:
            return QCoreApplication::translate("Section", "Battery");
        case Section::storage:
            return QCoreApplication::translate("Section", "Storage");
        case Section::performance:
            return QCoreApplication::translate("Section", "Performance");
        case Section::displays:
            return QCoreApplication::translate("Section", "Graphics");
        case Section::sensors:
            return QCoreApplication::translate("Section", "Sensors");
    }
    return {};
}

Symbol symbol(Section section) {
    switch (section) {
        case Section::overview:
            return Symbol::laptop;
        case Section::battery:
            return Symbol::battery100;
        case Section::storage:
            return Symbol::internalDrive;
        case Section::performance:
            return Symbol::speedometer;
        case Section::displays:
            return Symbol::display;
        case Section::sensors:
            return Symbol::thermometer;
    }
    return {};
}

QColor tint(Section section) {
    switch (section) {
        case Section::overview:
            return Theme::accent();
        case Section::battery:
            return Theme::color(Tint::green);
        case Section::storage:
            return Theme::color(Tint::green);
        case Section::performance:
            return Theme::color(Tint::red);
        case Section::displays:
            return Theme::color(Tint::blue);
        case Section::sensors:
            return Theme::color(Tint::red);
    }
    return {};
}

bool showsSensors(Section section) {
    return section == Section::performance || section == Section::displays ||
           section == Section::sensors;
}

}  // namespace orvane
