// The bitmap button's look: every input from every look, as its state table gives
// them, and where the pointer counts as over the button.
#include "ui/bitmap_button_look.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace astro::testing {
namespace {

constexpr std::uint32_t kNone = 0, kNormal = 1, kFocused = 2, kPressed = 3;

struct Row {
  ButtonInput input;
  const char* name;
  // The look after the input and whether it clicks, from looks 0, 1, 2, 3.
  std::uint32_t after[4];
  bool click[4];
};

const Row kTable[] = {
    {ButtonInput::kFocusGained, "focus gained", {kFocused, kFocused, kFocused, kFocused}, {}},
    {ButtonInput::kFocusLost, "focus lost", {kNormal, kNormal, kNormal, kNormal}, {}},
    {ButtonInput::kLeftDown, "left down", {kPressed, kPressed, kPressed, kPressed}, {}},
    // The release clicks unless the button is focused already, that is unless the
    // pointer left the button since the press.
    {ButtonInput::kLeftUp,
     "left up",
     {kFocused, kFocused, kFocused, kFocused},
     {true, true, false, true}},
    {ButtonInput::kHeldMoveOutside, "held move outside", {kNone, kNormal, kFocused, kFocused}, {}},
    {ButtonInput::kHeldMoveInside, "held move inside", {kNone, kNormal, kPressed, kPressed}, {}},
    {ButtonInput::kEnterReleased,
     "Enter released",
     {kNone, kNormal, kFocused, kPressed},
     {true, true, true, true}},
};

TEST(BitmapButtonLook, EveryInputFromEveryLook) {
  for (const Row& row : kTable) {
    for (std::uint32_t look = 0; look < 4; ++look) {
      const ButtonStep step = NextButtonStep(look, row.input);
      EXPECT_EQ(step.look, row.after[look]) << row.name << " from " << look;
      EXPECT_EQ(step.click, row.click[look]) << row.name << " from " << look;
    }
  }
}

std::uint32_t Position(int x, int y) {
  return (static_cast<std::uint32_t>(y) << 16) | (static_cast<std::uint32_t>(x) & 0xFFFFu);
}

TEST(BitmapButtonLook, PointerOverTheButtonIncludesItsRightAndBottomEdges) {
  EXPECT_TRUE(PointerOverButton(157, 17, Position(0, 0)));
  EXPECT_TRUE(PointerOverButton(157, 17, Position(78, 8)));
  EXPECT_TRUE(PointerOverButton(157, 17, Position(157, 17)));
  EXPECT_FALSE(PointerOverButton(157, 17, Position(158, 8)));
  EXPECT_FALSE(PointerOverButton(157, 17, Position(78, 18)));
  EXPECT_TRUE(PointerOverButton(0, 0, Position(0, 0)));
}

TEST(BitmapButtonLook, PositionsLeftOfOrAboveTheButtonAreOutside) {
  // -1 comes as the word 0xFFFF, far beyond any button.
  EXPECT_FALSE(PointerOverButton(157, 17, Position(-1, 8)));
  EXPECT_FALSE(PointerOverButton(157, 17, Position(78, -1)));
  EXPECT_FALSE(PointerOverButton(157, 17, Position(-30, -2)));
  EXPECT_FALSE(PointerOverButton(157, 17, 0xFFFFFFFFu));
}

}  // namespace
}  // namespace astro::testing
