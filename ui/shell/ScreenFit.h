// Keeps a main window usable on a small or strongly scaled screen (1366 × 768 at 125 % leaves
// 1093 × 614 logical pixels): where the free area of the window's screen is smaller than the
// content's comfortable minimum, the minimum shrinks to it (the pages scroll in what is left),
// and a window larger than that area is brought within it.
#pragma once

#include <QSize>

class QMainWindow;

namespace orvane {

namespace ScreenFit {

// Room the window system's frame (title bar, borders) takes while it is not known yet: before
// the window is first mapped, or where the frame is drawn by another process.
inline constexpr QSize kAssumedFrame{0, 40};

// The smallest size for content that wants `wanted`, in `room` (the screen's free area less the
// frame and the window's menu bar): `wanted` where it fits, else the room, never below a floor
// where nothing is usable any more.
QSize minimumWithin(QSize wanted, QSize room);

// Fits `window` to its screen now, and again whenever its content is replaced, it is shown or
// it moves to another screen. Call once, before the window is first shown.
void keep(QMainWindow* window);

}  // namespace ScreenFit

}  // namespace orvane
