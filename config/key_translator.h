// What the key notation needs of the keyboard layout: the driver uses the
// system's ToAscii and GetKeyNameTextA, the unit tests a US layout of their own.
#pragma once

#include <cstdint>
#include <string>

namespace astro {

class KeyTranslator {
 public:
  virtual ~KeyTranslator() = default;
  // The characters the key gives with the keys held in keyState (256 entries,
  // bit 7 set for a key that is down), as ToAscii with flags 0 produces them:
  // 0, 1 or 2 characters.
  virtual std::string ToAscii(std::uint32_t virtualKey, std::uint32_t scanCode,
                              const std::uint8_t (&keyState)[256]) = 0;
  // The key's name for a key message's second parameter (GetKeyNameTextA), at
  // most 255 characters; empty when it has none.
  virtual std::string KeyName(std::uint32_t keyData) = 0;
};

}  // namespace astro
