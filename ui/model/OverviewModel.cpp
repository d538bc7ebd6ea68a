#include "ui/model/OverviewModel.h"

#include "service/Fmt.h"

namespace orvane::OverviewModel {

using PageText::translate;

using PageText::integer;
using PageText::joined;
using PageText::percent;

namespace {

std::string orDash(const std::string& text) {
    return text.empty() ? "-" : text;
}

// "macOS Sonoma 14.5": the name and version, either of which may be unknown.
std::string osNameAndVersion(const HardwareInfo& hw) {
    return joined({hw.macOSName, hw.macOSVersion}, " ");
}

// The icon of a kind of machine.
Symbol machineSymbol(MachineKind kind) {
    switch (kind) {
        case MachineKind::laptop:
            return Symbol::laptop;
        case MachineKind::desktop:
            return Symbol::desktop;
        case MachineKind::macMini:
            return Symbol::macMini;
        case MachineKind::macStudio:
            return Symbol::macStudio;
        case MachineKind::macPro:
            return Symbol::macPro;
    }
    return Symbol::desktop;
}

}  // namespace

HeroText hero(const HardwareInfo& hw) {
    HeroText h;
    h.symbol = machineSymbol(hw.symbol());
    h.modelName = hw.modelName;
    h.chip = hw.chip;
    if (const std::string os = osNameAndVersion(hw); !os.empty()) h.pills.push_back(os);
    if (!hw.modelIdentifier.empty()) h.pills.push_back(hw.modelIdentifier);
    return h;
}

std::string coreValue(const HardwareInfo& hw) {
    return hw.totalCores < 1 ? "-" : integer(hw.totalCores);
}

std::string coreCaption(const HardwareInfo& hw) {
    if (hw.performanceCores < 1) return translate("OverviewModel", "CPU Cores");
    return integer(hw.performanceCores) + "P + " + integer(hw.efficiencyCores) + "E";
}

std::string bootCapacity(const std::vector<VolumeInfo>& volumes) {
    if (volumes.empty()) return "-";
    const VolumeInfo* pick = &volumes.front();
    for (const VolumeInfo& v : volumes) {
        if (v.isBoot) {
            pick = &v;
            break;
        }
    }
    return pick->totalBytes >= 1 ? Fmt::withDecimalPoint(Fmt::bytesGB(pick->totalBytes)) : "-";
}

std::array<PageText::Chip, 4> chips(const HardwareInfo& hw, const BatteryInfo& battery,
                                    const std::vector<VolumeInfo>& volumes) {
    std::array<PageText::Chip, 4> c;
    c[0] = {Symbol::memoryChip, orDash(hw.memoryGB), hw.memoryType, Tint::blue,
            translate("OverviewModel", "Memory")};
    c[1] = {Symbol::cpu, coreValue(hw), coreCaption(hw), Tint::accent,
            translate("OverviewModel", "CPU Cores")};
    c[2] = {Symbol::internalDrive,
            bootCapacity(volumes),
            translate("OverviewModel", "Storage"),
            Tint::green,
            {}};
    // The icon follows the kind of machine; value, caption and tint follow the battery.
    c[3].icon = hw.isLaptop ? Symbol::battery100 : Symbol::boltFill;
    if (battery.present) {
        c[3].caption = translate("OverviewModel", "Battery Health");
        if (battery.healthPercent) {
            c[3].value = percent(*battery.healthPercent);
            c[3].tint = usageTint(1 - *battery.healthPercent / 100);
        } else {
            c[3].value = PageText::kNotRead;
            c[3].tint = Tint::secondary;
        }
    } else if (battery.onAC.value_or(false)) {
        c[3].value = translate("OverviewModel", "AC");
        c[3].caption = translate("OverviewModel", "Power");
        c[3].tint = Tint::yellow;
    } else {
        // The power source was not read: not claimed.
        c[3].value = PageText::kNotRead;
        c[3].caption = translate("OverviewModel", "Power");
        c[3].tint = Tint::secondary;
    }
    return c;
}

std::vector<PageText::Row> systemRows(const HardwareInfo& hw) {
    std::vector<PageText::Row> rows = {
        {translate("OverviewModel", "Model"), hw.modelName, Symbol::desktop},
        {translate("OverviewModel", "Identifier"), orDash(hw.modelIdentifier), Symbol::number},
        {translate("OverviewModel", "Chip"), orDash(hw.chip), Symbol::cpu},
        {translate("OverviewModel", "Memory"),
         orDash(joined({hw.memoryGB, hw.memoryType}, " \u00b7 ")), Symbol::memoryChip},
    };
    if (PageText::isMac(hw.macOSName)) {
        rows.push_back(
            {"macOS",
             orDash(joined({osNameAndVersion(hw), PageText::bracketed(hw.macOSBuild)}, " ")),
             Symbol::appleLogo});
    } else {
        // Another system: its own name, and the kernel release where a Mac shows its build.
        rows.push_back({translate("OverviewModel", "Operating System"),
                        orDash(osNameAndVersion(hw)), Symbol::stack});
        if (!hw.macOSBuild.empty())
            rows.push_back({translate("OverviewModel", "Kernel"), hw.macOSBuild, Symbol::number});
    }
    rows.push_back(
        {translate("OverviewModel", "Serial Number"), orDash(hw.serialNumber), Symbol::barcode});
    for (PageText::Row& row : rows)
        row = PageText::notRead(std::move(row));
    return rows;
}

std::vector<PageText::Row> glanceRows(const HardwareInfo& hw, const LiveMetrics& live,
                                      const BatteryInfo& battery, std::size_t displayCount) {
    using PageText::notRead;
    const double busy = live.cpuBusyPct();
    // The live sample's uptime, else the one read with the hardware.
    const double uptime = live.uptime > 0 ? live.uptime : hw.uptime;
    std::vector<PageText::Row> rows = {
        notRead({translate("OverviewModel", "Computer Name"), hw.hostname, Symbol::person}),
        notRead({translate("OverviewModel", "Uptime"), uptime > 0 ? PageText::duration(uptime) : "",
                 Symbol::clock}),
        notRead({translate("OverviewModel", "CPU Load"), live.cpuMeasured ? percent(busy) : "",
                 Symbol::gauge, usageTint(busy / 100)}),
        notRead(
            {translate("OverviewModel", "Memory Used"),
             live.memMeasured && live.memTotalBytes > 0
                 ? PageText::arg(translate("OverviewModel", "%1 of %2"),
                                 {Fmt::memory(live.memUsedBytes), Fmt::memory(live.memTotalBytes)})
                 : "",
             Symbol::memoryChip, usageTint(live.memUsedFraction())}),
    };
    if (battery.present) {
        std::string status;
        if (battery.isCharging)
            status = translate("OverviewModel", "Charging");
        else if (battery.onAC)
            status = *battery.onAC ? translate("OverviewModel", "On AC")
                                   : translate("OverviewModel", "On Battery");
        rows.push_back(
            notRead({translate("OverviewModel", "Battery"),
                     PageText::joined(
                         {battery.chargePercent ? percent(*battery.chargePercent) : "", status},
                         " \u00b7 "),
                     Symbol::battery75}));
        rows.push_back(notRead({translate("OverviewModel", "Cycle Count"),
                                battery.cycleCount ? integer(*battery.cycleCount) : "",
                                Symbol::arrowCirclePath}));
    } else {
        // The power source only where it was read.
        if (battery.onAC.value_or(false))
            rows.push_back({translate("OverviewModel", "Power"),
                            translate("OverviewModel", "AC Power"), Symbol::powerPlug});
        const int displays = static_cast<int>(displayCount);
        rows.push_back(notRead(
            {translate("OverviewModel", "Displays"),
             displays > 0 ? translate("OverviewModel", "%n connected", nullptr, displays) : "",
             Symbol::display}));
    }
    return rows;
}

}  // namespace orvane::OverviewModel
