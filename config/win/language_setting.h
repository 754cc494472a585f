// The stored language index, read on its own before the settings are loaded: the
// box that refuses a second start must already speak the user's language.
#pragma once

#include <cstdint>

namespace astro {

constexpr const char kSettingsKey[] = "Software\\Brightfold\\Dimensa\\Astrolab";

// "Language" under the settings key as a decimal number; 0 when the key or the
// value is missing.
std::int32_t ReadStoredLanguage();

}  // namespace astro
