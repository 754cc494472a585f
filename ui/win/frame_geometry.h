// Where a child window lies in its parent's client area, worked out from the
// parent's frame as the custom controls and the mapping dialog measure it: equal
// side borders, and whatever else the frame holds (caption, menu) on top.
#pragma once

#include <windows.h>

namespace astro {

// The child's screen rectangle moved into the parent's client coordinates; the
// width and height are given by the caller (the child's outer or client size).
RECT ChildRectInParent(HWND parent, const RECT& childScreen, int width, int height);

// Records where a custom control lies in its parent (its outer rectangle in the
// parent's client coordinates) and the parent's outer size, in the fields the
// bitmap button and the key-capture control share: at creation, and again once a
// change of DPI has laid the parent out anew.
template <typename Record>
void MeasureInParent(HWND control, HWND parent, Record& record) {
  RECT parentOuter{};
  RECT own{};
  GetWindowRect(parent, &parentOuter);
  GetWindowRect(control, &own);
  record.parentWidth = parentOuter.right - parentOuter.left;
  record.parentHeight = parentOuter.bottom - parentOuter.top;
  const RECT rect = ChildRectInParent(parent, own, own.right - own.left, own.bottom - own.top);
  record.left = rect.left;
  record.top = rect.top;
  record.right = rect.right;
  record.bottom = rect.bottom;
}

}  // namespace astro
