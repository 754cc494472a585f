// Where a remembered window may open: a position stored by hand or taken on a
// monitor that is no longer there must not put the window where nobody can reach
// it.
#pragma once

#include <vector>

namespace astro {

// Screen coordinates; right and bottom are outside the rectangle.
struct ScreenRect {
  int left;
  int top;
  int right;
  int bottom;
};

// The least width of title bar (or the whole width of a narrower window) that must
// lie on a monitor's work area for the window to be taken and dragged.
constexpr int kReachableTitleWidth = 40;

// Whether the window's title bar (its top titleHeight pixels) lies on a work area
// by at least kReachableTitleWidth pixels of its width and half its height.
bool TitleBarReachable(const ScreenRect& window, int titleHeight,
                       const std::vector<ScreenRect>& workAreas);

// The window moved, its size kept, to lie wholly on the work area; a window
// larger than the area gets the area's left or top edge.
ScreenRect MovedInto(const ScreenRect& window, const ScreenRect& area);

}  // namespace astro
