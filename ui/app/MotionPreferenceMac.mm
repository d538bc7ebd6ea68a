// The Mac's "Reduce motion" display option (System Settings > Accessibility > Display).
#include "ui/app/MotionPreference.h"

#import <AppKit/AppKit.h>

namespace orvane::MotionPreference {

std::optional<bool> systemNow() {
    return static_cast<bool>(
        [[NSWorkspace sharedWorkspace] accessibilityDisplayShouldReduceMotion]);
}

}  // namespace orvane::MotionPreference
