#include "ui/model/Appearance.h"

#include <QCoreApplication>

namespace orvane {

const std::array<Appearance, 3>& allAppearances() {
    static const std::array<Appearance, 3> all{Appearance::system, Appearance::light,
                                               Appearance::dark};
    return all;
}

QString rawValue(Appearance appearance) {
    switch (appearance) {
        case Appearance::system:
            return QStringLiteral("system");
        case Appearance::light:
            return QStringLiteral("light");
        case Appearance::dark:
            return QStringLiteral("dark");
    }
    return {};
}

std::optional<Appearance> appearanceFromRaw(const QString& raw) {
    for (Appearance a : allAppearances()) {
        if (rawValue(a) == raw) return a;
    }
    return std::nullopt;
}

QString label(Appearance appearance) {
    switch (appearance) {
        case Appearance::system:
            return QCoreApplication::translate("Appearance", "Auto");
        case Appearance::light:
            return QCoreApplication::translate("Appearance", "Light");
        case Appearance::dark:
            return QCoreApplication::translate("Appearance", "Dark");
    }
    return {};
}

Symbol symbol(Appearance appearance) {
    switch (appearance) {
        case Appearance::system:
            return Symbol::circleHalfFilled;
        case Appearance::light:
            return Symbol::sunFill;
        case Appearance::dark:
            return Symbol::moonFill;
    }
    return {};
}

std::optional<ColorScheme> colorScheme(Appearance appearance) {
    switch (appearance) {
        case Appearance::system:
            return std::nullopt;
        case Appearance::light:
            return ColorScheme::light;
        case Appearance::dark:
            return ColorScheme::dark;
    }
    return std::nullopt;
}

Appearance appearanceFromStored(const QString& stored) {
    return appearanceFromRaw(stored).value_or(Appearance::system);
}

ColorScheme resolvedScheme(const QString& stored, ColorScheme systemScheme) {
    return colorScheme(appearanceFromStored(stored)).value_or(systemScheme);
}

}  // namespace orvane
