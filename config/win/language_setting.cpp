#include "config/win/language_setting.h"

#include "config/settings_text.h"

namespace astro {
namespace {

constexpr std::uint32_t kValueBufferSize = 256;

}  // namespace

std::int32_t ReadStoredLanguage(Registry& registry) {
  const auto key = registry.OpenKey(kSettingsKeyPath);
  if (!key) return 0;
  // One byte beyond the queried size stays zero: a value that fills the whole
  // buffer carries no terminator of its own.
  char text[kValueBufferSize + 1] = {};
  if (!key->Query("Language", text, kValueBufferSize, nullptr)) return 0;
  return ParseDecimal(text);
}

}  // namespace astro
