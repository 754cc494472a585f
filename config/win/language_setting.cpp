#include "config/win/language_setting.h"

#include <windows.h>

#include <cstdlib>

namespace astro {
namespace {

constexpr REGSAM kSettingsAccess = 0x20007;  // read, query, set value, create subkey
constexpr DWORD kValueBufferSize = 256;

}  // namespace

std::int32_t ReadStoredLanguage() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, kSettingsAccess, &key) != ERROR_SUCCESS) {
    return 0;
  }
  // One byte beyond the queried size stays zero: a value that fills the whole
  // buffer carries no terminator of its own.
  char text[kValueBufferSize + 1] = {};
  DWORD size = kValueBufferSize;
  const LONG result =
      RegQueryValueExA(key, "Language", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS) return 0;
  // Read as atoi reads (blanks, sign, digits), but an out-of-range number saturates
  // instead of being undefined.
  return static_cast<std::int32_t>(std::strtol(text, nullptr, 10));
}

}  // namespace astro
