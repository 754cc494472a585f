// The language dialog's title in each language.
#pragma once

#include <cstdint>

namespace astro {

// Any index outside 0..4 gives the English title.
const char* LanguageDialogTitle(std::int32_t language);

}  // namespace astro
