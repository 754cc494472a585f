// How many key events one recording may hold. The store reads a slot back only
// when its value (4 bytes per event and a 4-byte end entry) fits in
// kMaxButtonValueBytes, so a longer recording would come back unassigned and be
// lost at the next save. The recording keeps room for the key-up of every key
// still held, so that it never ends with a key left down when it is played.
#pragma once

#include <cstdint>

#include "config/key_event.h"
#include "config/mapping_store.h"

namespace astro {

constexpr std::uint32_t kMaxRecordedEvents = (kMaxButtonValueBytes - 4) / 4;  // 511

// Zero-filled, it is an empty recording (the key-capture control keeps it in a
// zero-filled heap block).
struct CaptureRoom {
  std::uint32_t count;     // events taken
  std::uint32_t held;      // keys down and not yet up
  std::uint8_t down[256];  // by virtual key: 1 while held
  bool full;               // an event was refused: the recording is full

  // Whether an event with this key message and virtual key may be recorded; when
  // it may, it is counted. A key-down (a repeat of a held key too) is taken only
  // while room is left for it and for the key-ups of all keys then held; the
  // key-up of a held key always finds its room.
  bool Take(std::uint32_t message, std::uint32_t virtualKey);
};

}  // namespace astro
