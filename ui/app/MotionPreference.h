// Whether the user asked for reduced motion: the stored setting "reduceMotion" when there is
// one (true or false), otherwise the system's request (a Mac's "Reduce motion" display option;
// on Linux the desktop's "enable-animations" setting, read through the settings portal). Under
// reduced motion, gauges and bars jump to new values instead of sweeping there.
#pragma once

#include <QString>
#include <functional>
#include <optional>

class QObject;

namespace orvane::MotionPreference {

inline constexpr const char* kSettingKey = "reduceMotion";

// The stored choice; nothing when none is stored or it is not a boolean.
std::optional<bool> stored();
// Applies the preference to the theme now, and again when the system's answer arrives (the
// Linux portal answers asynchronously; `context` bounds the wait).
void apply(QObject* context);
// The system's request as far as it can be read at once (a Mac); nothing when it cannot.
std::optional<bool> systemNow();

}  // namespace orvane::MotionPreference
