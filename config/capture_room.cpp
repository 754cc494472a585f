#include "config/capture_room.h"

namespace astro {

bool CaptureRoom::Take(std::uint32_t message, std::uint32_t virtualKey) {
  const std::uint8_t key = static_cast<std::uint8_t>(virtualKey & 0xFFu);
  const bool isDown = message == kKeyDown || message == kSysKeyDown;
  std::uint32_t heldAfter = held;
  if (isDown && down[key] == 0) ++heldAfter;
  if (!isDown && down[key] != 0) --heldAfter;
  if (count + 1 + heldAfter > kMaxRecordedEvents) {
    full = true;
    return false;
  }
  ++count;
  held = heldAfter;
  down[key] = isDown ? 1 : 0;
  return true;
}

}  // namespace astro
