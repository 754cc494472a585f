// How a bitmap button's look follows the mouse, the focus and the Enter key, and
// when it reports a click. The window procedure does the rest (capture, focus,
// painting); this part needs no window.
#pragma once

#include <cstdint>

namespace astro {

// The looks, as the button's state field holds them.
enum : std::uint32_t {
  kButtonLookNone = 0,  // nothing drawn: no bitmap set yet
  kButtonLookNormal = 1,
  kButtonLookFocused = 2,
  kButtonLookPressed = 3,
};

enum class ButtonInput {
  kFocusGained,
  kFocusLost,
  kLeftDown,
  kLeftUp,
  kHeldMoveOutside,  // a mouse move with the left button held, the pointer outside
  kHeldMoveInside,   // the same with the pointer over the button
  kEnterReleased,
};

struct ButtonStep {
  std::uint32_t look;  // the look afterwards; the button repaints when it changed
  bool click;          // a click goes to the parent
};

ButtonStep NextButtonStep(std::uint32_t look, ButtonInput input);

// Whether a mouse position (x in the low word, y in the high word, client
// coordinates of the button) is over a button of this size. The words are taken
// unsigned, so positions left of or above the button are outside; the right and
// bottom edges still count as inside.
bool PointerOverButton(std::int32_t width, std::int32_t height, std::uint32_t position);

}  // namespace astro
