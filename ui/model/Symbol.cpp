#include "ui/model/Symbol.h"

namespace orvane {

std::string_view systemName(Symbol symbol) {
    switch (symbol) {
        case Symbol::none:
            return {};
        case Symbol::laptop:
            return "laptopcomputer";
        case Symbol::desktop:
            return "desktopcomputer";
        case Symbol::macMini:
            return "macmini";
        case Symbol::macStudio:
            return "macstudio";
        case Symbol::macPro:
            return "macpro.gen3";
        case Symbol::display:
            return "display";
        case Symbol::appleLogo:
            return "apple.logo";
        case Symbol::cpu:
            return "cpu";
        case Symbol::cpuFill:
            return "cpu.fill";
        case Symbol::memoryChip:
            return "memorychip";
        case Symbol::internalDrive:
            return "internaldrive";
        case Symbol::internalDriveFill:
            return "internaldrive.fill";
        case Symbol::externalDrive:
            return "externaldrive";
        case Symbol::externalDriveFill:
            return "externaldrive.fill";
        case Symbol::cableConnector:
            return "cable.connector";
        case Symbol::stack:
            return "square.stack.3d.up";
        case Symbol::rectangleDashed:
            return "rectangle.dashed";
        case Symbol::battery100:
            return "battery.100";
        case Symbol::battery100Bolt:
            return "battery.100.bolt";
        case Symbol::battery75:
            return "battery.75";
        case Symbol::battery50:
            return "battery.50";
        case Symbol::boltFill:
            return "bolt.fill";
        case Symbol::boltHorizontal:
            return "bolt.horizontal";
        case Symbol::boltCircle:
            return "bolt.circle";
        case Symbol::boltBadgeCheckmark:
            return "bolt.badge.checkmark";
        case Symbol::powerPlug:
            return "powerplug";
        case Symbol::powerPlugFill:
            return "powerplug.fill";
        case Symbol::thermometer:
            return "thermometer";
        case Symbol::thermometerMedium:
            return "thermometer.medium";
        case Symbol::speedometer:
            return "speedometer";
        case Symbol::gauge:
            return "gauge.with.dots.needle.50percent";
        case Symbol::waveformEcg:
            return "waveform.path.ecg";
        case Symbol::waveform:
            return "waveform.path";
        case Symbol::arrowLeftRight:
            return "arrow.left.arrow.right";
        case Symbol::arrowCirclePath:
            return "arrow.triangle.2.circlepath";
        case Symbol::clock:
            return "clock";
        case Symbol::timer:
            return "timer";
        case Symbol::person:
            return "person.crop.circle";
        case Symbol::number:
            return "number";
        case Symbol::barcode:
            return "barcode";
        case Symbol::building:
            return "building.2";
        case Symbol::sparkleMagnifyingGlass:
            return "sparkle.magnifyingglass";
        case Symbol::arrowClockwise:
            return "arrow.clockwise";
        case Symbol::share:
            return "square.and.arrow.up";
        case Symbol::circleHalfFilled:
            return "circle.lefthalf.filled";
        case Symbol::sunFill:
            return "sun.max.fill";
        case Symbol::moonFill:
            return "moon.fill";
    }
    return {};
}

std::optional<Symbol> symbolNamed(std::string_view name) {
    if (name.empty()) return std::nullopt;
    for (Symbol s : allSymbols())
        if (systemName(s) == name) return s;
    return std::nullopt;
}

}  // namespace orvane
