// A remembered window must open where the user can take it by its title bar.
#include "ui/window_placement.h"

#include <gtest/gtest.h>

namespace astro {
namespace {

// Two monitors side by side: 1920x1040 of work area (a task bar below), and a
// 1280x1024 one to its right whose top lies 100 pixels lower.
const std::vector<ScreenRect> kAreas = {{0, 0, 1920, 1040}, {1920, 100, 3200, 1124}};
constexpr int kTitle = 20;

ScreenRect Window(int left, int top) {
  return {left, top, left + 300, top + 60};
}

TEST(WindowPlacementTest, TitleBarMustLieOnAWorkAreaByFortyPixelsAndHalfItsHeight) {
  EXPECT_TRUE(TitleBarReachable(Window(100, 100), kTitle, kAreas));
  EXPECT_TRUE(TitleBarReachable(Window(2500, 900), kTitle, kAreas));  // second monitor
  // Hanging off the left edge with 40 pixels of title left: still reachable; 39: not.
  EXPECT_TRUE(TitleBarReachable(Window(-260, 100), kTitle, kAreas));
  EXPECT_FALSE(TitleBarReachable(Window(-261, 100), kTitle, kAreas));
  // Title bar above the top: 10 of its 20 rows on screen is enough, 9 is not.
  EXPECT_TRUE(TitleBarReachable(Window(100, -10), kTitle, kAreas));
  EXPECT_FALSE(TitleBarReachable(Window(100, -11), kTitle, kAreas));
  // The body visible but the title bar under the task bar, or in the gap above
  // the second monitor's top: not reachable.
  EXPECT_FALSE(TitleBarReachable(Window(100, 1035), kTitle, kAreas));
  EXPECT_FALSE(TitleBarReachable(Window(2500, 50), kTitle, kAreas));
  // Where a monitor was unplugged, or coordinates edited by hand.
  EXPECT_FALSE(TitleBarReachable(Window(5000, 300), kTitle, kAreas));
  EXPECT_FALSE(TitleBarReachable(Window(-32000, -32000), kTitle, kAreas));
  EXPECT_FALSE(TitleBarReachable(Window(100, 100), kTitle, {}));
  // A window narrower than 40 pixels needs its whole width.
  EXPECT_TRUE(TitleBarReachable({0, 0, 30, 60}, kTitle, kAreas));
  EXPECT_FALSE(TitleBarReachable({-1, 0, 29, 60}, kTitle, kAreas));
}

TEST(WindowPlacementTest, MovedIntoTheAreaKeepsTheSizeAndTheNearestPlace) {
  const ScreenRect second = kAreas[1];
  // Off to the right and below: its right and bottom edges meet the area's.
  const ScreenRect right = MovedInto(Window(5000, 3000), second);
  EXPECT_EQ(right.left, 2900);
  EXPECT_EQ(right.top, 1064);
  EXPECT_EQ(right.right - right.left, 300);
  EXPECT_EQ(right.bottom - right.top, 60);
  // Above the top only: x stays.
  const ScreenRect above = MovedInto(Window(2000, 50), second);
  EXPECT_EQ(above.left, 2000);
  EXPECT_EQ(above.top, 100);
  // Larger than the area: its top-left corner at the area's.
  const ScreenRect large = MovedInto({-500, -500, 2000, 1500}, second);
  EXPECT_EQ(large.left, 1920);
  EXPECT_EQ(large.top, 100);
}

}  // namespace
}  // namespace astro
