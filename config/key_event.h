// A recorded key event and the lists that keyboard macros are made of. The record
// is the window system's key message in seven 32-bit fields (28 bytes, in this
// order); the key-capture control hands finished lists over byte for byte.
#pragma once

#include <cstdint>
#include <vector>

namespace astro {

constexpr std::uint32_t kKeyDown = 0x100;     // WM_KEYDOWN
constexpr std::uint32_t kKeyUp = 0x101;       // WM_KEYUP
constexpr std::uint32_t kSysKeyDown = 0x104;  // WM_SYSKEYDOWN
constexpr std::uint32_t kSysKeyUp = 0x105;    // WM_SYSKEYUP

struct KeyEvent {
  std::uint32_t window = 0;      // the window that got the key message (recording only)
  std::uint32_t message = 0;     // one of the four key messages; 0 ends a list
  std::uint32_t virtualKey = 0;  // the virtual-key code
  // Repeat count (bits 0-15), scan code (16-23), extended-key flag (24), context
  // and transition bits; a stored event keeps only the scan code.
  std::uint32_t keyData = 0;
  std::uint32_t time = 0;  // message time in milliseconds (recording only)
  std::uint32_t pointX = 0;
  std::uint32_t pointY = 0;
};
static_assert(sizeof(KeyEvent) == 28, "a key event is seven 32-bit fields");

// A list of events that ends with a record whose message is 0.
using KeyEventList = std::vector<KeyEvent>;

inline bool IsKeyDown(const KeyEvent& event) {
  return event.message == kKeyDown || event.message == kSysKeyDown;
}

inline std::uint32_t ScanCode(const KeyEvent& event) {
  return (event.keyData >> 16) & 0xFFu;
}

// The number of records before the end record; 0 for no list.
inline int CountKeyEvents(const KeyEvent* list) {
  int count = 0;
  if (list == nullptr) return 0;
  while (list[count].message != 0) ++count;
  return count;
}

}  // namespace astro
