#include "ui/win/frame_geometry.h"

namespace astro {

RECT ChildRectInParent(HWND parent, const RECT& childScreen, int width, int height) {
  RECT outer{};
  RECT client{};
  GetWindowRect(parent, &outer);
  GetClientRect(parent, &client);
  const int border = ((outer.right - outer.left) - client.right) / 2;
  const int caption = (outer.bottom - outer.top) - border - client.bottom;
  RECT rect;
  rect.left = childScreen.left - outer.left - border;
  rect.top = childScreen.top - outer.top - caption;
  rect.right = rect.left + width;
  rect.bottom = rect.top + height;
  return rect;
}

}  // namespace astro
