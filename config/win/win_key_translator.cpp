#include "config/win/win_key_translator.h"

#include <windows.h>

namespace astro {

std::string WinKeyTranslator::ToAscii(std::uint32_t virtualKey, std::uint32_t scanCode,
                                      const std::uint8_t (&keyState)[256]) {
  WORD characters = 0;
  const int count = ::ToAscii(virtualKey, scanCode, keyState, &characters, 0);
  if (count <= 0) return std::string();
  std::string text;
  text += static_cast<char>(characters & 0xFF);
  if (count > 1) text += static_cast<char>((characters >> 8) & 0xFF);
  return text;
}

std::string WinKeyTranslator::KeyName(std::uint32_t keyData) {
  char name[256] = {};
  const int length = GetKeyNameTextA(static_cast<LONG>(keyData), name, sizeof name);
  return length > 0 ? std::string(name, static_cast<std::size_t>(length)) : std::string();
}

}  // namespace astro
