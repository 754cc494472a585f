// The stored form of a key event list, as the registry keeps a button's macro:
// one 4-byte entry per event (kind, scan code, virtual key in 16 bits
// little-endian), then an entry of four zero bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "config/key_event.h"

namespace astro {

// Event kinds of the stored form: 1 key down, 2 key up, 3 system key down, 4
// system key up; 0 ends the list.
std::uint8_t StoredKind(std::uint32_t message);
std::uint32_t MessageOfKind(std::uint8_t kind);

// Reads entries from the start of bytes while an entry's kind byte is nonzero
// and a whole entry is left; an entry of an unknown kind gives a record with
// message 0, which ends the list there. The list always ends with an end record.
// Nothing past size is read.
KeyEventList DecodeStoredEvents(const std::uint8_t* bytes, std::size_t size);

// 4 x CountKeyEvents + 4 bytes: each event as an entry (scan code from keyData,
// low 16 bits of the virtual key), then the end entry.
std::vector<std::uint8_t> EncodeStoredEvents(const KeyEvent* list);

}  // namespace astro
