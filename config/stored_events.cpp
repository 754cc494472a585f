#include "config/stored_events.h"

namespace astro {

std::uint8_t StoredKind(std::uint32_t message) {
  switch (message) {
    case kKeyDown:
      return 1;
    case kKeyUp:
      return 2;
    case kSysKeyDown:
      return 3;
    case kSysKeyUp:
      return 4;
    default:
      return 0;
  }
}

std::uint32_t MessageOfKind(std::uint8_t kind) {
  static constexpr std::uint32_t kMessages[] = {0, kKeyDown, kKeyUp, kSysKeyDown, kSysKeyUp};
  return kind < sizeof kMessages / sizeof kMessages[0] ? kMessages[kind] : 0;
}

KeyEventList DecodeStoredEvents(const std::uint8_t* bytes, std::size_t size) {
  KeyEventList list;
  for (std::size_t at = 0; at + 4 <= size && bytes[at] != 0; at += 4) {
    KeyEvent event;
    event.message = MessageOfKind(bytes[at]);
    // An unknown kind reads as the end of the list.
    if (event.message == 0) break;
    event.keyData = static_cast<std::uint32_t>(bytes[at + 1]) << 16;
    event.virtualKey = static_cast<std::uint32_t>(bytes[at + 2]) |
                       static_cast<std::uint32_t>(bytes[at + 3]) << 8;
    list.push_back(event);
  }
  list.push_back(KeyEvent{});
  return list;
}

std::vector<std::uint8_t> EncodeStoredEvents(const KeyEvent* list) {
  const int count = CountKeyEvents(list);
  std::vector<std::uint8_t> bytes(4 * static_cast<std::size_t>(count) + 4, 0);
  for (int i = 0; i < count; ++i) {
    std::uint8_t* entry = &bytes[4 * static_cast<std::size_t>(i)];
    entry[0] = StoredKind(list[i].message);
    entry[1] = static_cast<std::uint8_t>(ScanCode(list[i]));
    entry[2] = static_cast<std::uint8_t>(list[i].virtualKey & 0xFFu);
    entry[3] = static_cast<std::uint8_t>((list[i].virtualKey >> 8) & 0xFFu);
  }
  return bytes;
}

}  // namespace astro
