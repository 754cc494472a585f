// Where a child window lies in its parent's client area, worked out from the
// parent's frame as the custom controls and the mapping dialog measure it: equal
// side borders, and whatever else the frame holds (caption, menu) on top.
#pragma once

#include <windows.h>

namespace astro {

// The child's screen rectangle moved into the parent's client coordinates; the
// width and height are given by the caller (the child's outer or client size).
RECT ChildRectInParent(HWND parent, const RECT& childScreen, int width, int height);

}  // namespace astro
