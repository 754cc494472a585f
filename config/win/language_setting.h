// The stored language index, read on its own before the settings are loaded: the
// box that refuses a second start must already speak the user's language.
#pragma once

#include <cstdint>

#include "config/registry.h"

namespace astro {

// "Language" under the settings key, read as LoadSettings reads it; 0 when the key
// or the value is missing.
std::int32_t ReadStoredLanguage(Registry& registry);

}  // namespace astro
