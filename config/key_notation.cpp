#include "config/key_notation.h"

#include <cstdint>

namespace astro {

namespace {

constexpr std::uint32_t kVkShift = 0x10;
constexpr std::uint32_t kVkLeftShift = 0xA0;
constexpr std::uint32_t kVkRightShift = 0xA1;
constexpr std::uint8_t kKeyIsDown = 0x80;

bool IsShiftKey(std::uint32_t virtualKey) {
  return virtualKey == kVkShift || virtualKey == kVkLeftShift || virtualKey == kVkRightShift;
}

}  // namespace

std::string KeyEventName(const KeyEvent& event, bool force, KeyTranslator& translator) {
  if (!IsKeyDown(event) && !force) return std::string();
  std::string name = translator.KeyName(event.keyData);
  if (name.size() <= 1) return name;
  // Keep both brackets within the limit; real key names are far shorter.
  if (name.size() > kMaxNotationLength - 2) name.resize(kMaxNotationLength - 2);
  return "[" + name + "]";
}

std::string KeyEventsToText(const KeyEvent* list, int count, KeyTranslator& translator) {
  std::string text;
  if (list == nullptr || count < 1) return text;
  // Which keys are down so far, so that a held Shift makes capitals.
  std::uint8_t keyState[256] = {};
  for (int i = 0; i < count; ++i) {
    const KeyEvent& event = list[i];
    const bool down = IsKeyDown(event);
    keyState[event.virtualKey & 0xFFu] = down ? kKeyIsDown : 0;
    if (!down) continue;
    std::string piece = translator.ToAscii(event.virtualKey, ScanCode(event), keyState);
    // Control characters and those of 128 to 255 (negative as signed bytes) are
    // shown by the key's name instead.
    if (piece.empty() || static_cast<signed char>(piece[0]) < 32) {
      piece = IsShiftKey(event.virtualKey) ? std::string() : KeyEventName(event, false, translator);
    }
    // A piece that does not fit is left out; a shorter one after it may still fit.
    if (text.size() + piece.size() <= kMaxNotationLength) text += piece;
  }
  return text;
}

}  // namespace astro
