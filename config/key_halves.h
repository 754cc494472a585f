// The form in which the key-capture control hands a finished list to its parent:
// one notification per 16-bit half, 14 halves per record, the records' bytes in
// memory order (each field's lower half first), the end record left out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "config/key_event.h"

namespace astro {

constexpr int kHalvesPerKeyEvent = static_cast<int>(sizeof(KeyEvent) / sizeof(std::uint16_t));

// The halves of the first count records of events; none when count < 1.
std::vector<std::uint16_t> KeyEventHalves(const KeyEvent* events, int count);

// Puts a delivered list back together on the receiving side.
class KeyListAssembler {
 public:
  // A new list of count records and its end record, all zero; the write
  // position goes back to the start.
  void Start(std::uint16_t count);
  // Stores half at the write position and advances it. Halves beyond the
  // announced records are ignored, so the end record stays an end record.
  void Add(std::uint16_t half);
  // The list with its end record (only the end record when nothing was
  // started); the assembler is empty afterwards.
  KeyEventList Finish();

 private:
  KeyEventList list_;
  std::size_t position_ = 0;
};

}  // namespace astro
