// The pages of the sidebar, in sidebar order.
#pragma once

#include <QColor>
#include <QString>
#include <array>
#include <optional>

#include "ui/model/Symbol.h"

namespace orvane {

enum class Section { overview, battery, storage, performance, displays, sensors };

// Every section, in sidebar order.
const std::array<Section, 6>& allSections();

// The raw value, which is also the section's id: "overview", "battery", ...
QString rawValue(Section section);
// Exactly one of the raw values (case-sensitive); nothing otherwise.
std::optional<Section> sectionFromRaw(const QString& raw);
// The sidebar title ("Graphics" for displays).
QString title(Section section);
// The icon of the section.
Symbol symbol(Section section);
// The colour of the section's icon.
QColor tint(Section section);
// Whether the section's page shows sensors or throughput, which are read only while it is shown.
bool showsSensors(Section section);

}  // namespace orvane
