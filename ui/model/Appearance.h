// The colour-scheme choice and how a stored choice becomes the scheme the windows show.
#pragma once

#include <QString>
#include <array>
#include <optional>

#include "ui/model/Symbol.h"

namespace orvane {

enum class Appearance { system, light, dark };
enum class ColorScheme { light, dark };

// The user-defaults key the choice is stored under.
inline constexpr const char* kAppearanceKey = "appearance";

// Every choice, in picker order.
const std::array<Appearance, 3>& allAppearances();

// The raw value, also the id: "system", "light", "dark".
QString rawValue(Appearance appearance);
// Exactly one of the three raw values (case-sensitive); nothing otherwise.
std::optional<Appearance> appearanceFromRaw(const QString& raw);
// "Auto", "Light", "Dark".
QString label(Appearance appearance);
// The icon of the choice.
Symbol symbol(Appearance appearance);
// The forced scheme; nothing for `system` (follow the system).
std::optional<ColorScheme> colorScheme(Appearance appearance);

// The stored text to the choice it means: anything but the three raw values is `system`.
Appearance appearanceFromStored(const QString& stored);
// The scheme the windows show for a stored choice while the system shows `systemScheme`.
ColorScheme resolvedScheme(const QString& stored, ColorScheme systemScheme);

}  // namespace orvane
