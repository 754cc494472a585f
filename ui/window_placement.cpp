#include "ui/window_placement.h"

#include <algorithm>

namespace astro {

bool TitleBarReachable(const ScreenRect& window, int titleHeight,
                       const std::vector<ScreenRect>& workAreas) {
  const int width = window.right - window.left;
  const int neededWidth = std::min(kReachableTitleWidth, width);
  const int neededHeight = (titleHeight + 1) / 2;
  if (neededWidth <= 0 || neededHeight <= 0) return false;
  for (const ScreenRect& area : workAreas) {
    const int left = std::max(window.left, area.left);
    const int right = std::min(window.right, area.right);
    const int top = std::max(window.top, area.top);
    const int bottom = std::min(window.top + titleHeight, area.bottom);
    if (right - left >= neededWidth && bottom - top >= neededHeight) return true;
  }
  return false;
}

ScreenRect MovedInto(const ScreenRect& window, const ScreenRect& area) {
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  const int left = std::max(area.left, std::min(window.left, area.right - width));
  const int top = std::max(area.top, std::min(window.top, area.bottom - height));
  return {left, top, left + width, top + height};
}

}  // namespace astro
