#include "ui/bitmap_button_look.h"

namespace astro {

ButtonStep NextButtonStep(std::uint32_t look, ButtonInput input) {
  switch (input) {
    case ButtonInput::kFocusGained:
      return {kButtonLookFocused, false};
    case ButtonInput::kFocusLost:
      return {kButtonLookNormal, false};
    case ButtonInput::kLeftDown:
      return {kButtonLookPressed, false};
    case ButtonInput::kLeftUp:
      // A release after the pointer left the button (already focused) is no click.
      return {kButtonLookFocused, look != kButtonLookFocused};
    case ButtonInput::kHeldMoveOutside:
      return {look == kButtonLookPressed ? kButtonLookFocused : look, false};
    case ButtonInput::kHeldMoveInside:
      return {look == kButtonLookFocused ? kButtonLookPressed : look, false};
    case ButtonInput::kEnterReleased:
      return {look, true};
  }
  return {look, false};
}

bool PointerOverButton(std::int32_t width, std::int32_t height, std::uint32_t position) {
  const std::int32_t x = static_cast<std::int32_t>(position & 0xFFFFu);
  const std::int32_t y = static_cast<std::int32_t>((position >> 16) & 0xFFFFu);
  return x <= width && y <= height;
}

}  // namespace astro
