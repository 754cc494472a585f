// The key notation's keyboard layout on Windows: the system's ToAscii and
// GetKeyNameTextA for the keyboard layout of the calling thread.
#pragma once

#include "config/key_translator.h"

namespace astro {

class WinKeyTranslator : public KeyTranslator {
 public:
  std::string ToAscii(std::uint32_t virtualKey, std::uint32_t scanCode,
                      const std::uint8_t (&keyState)[256]) override;
  std::string KeyName(std::uint32_t keyData) override;
};

}  // namespace astro
