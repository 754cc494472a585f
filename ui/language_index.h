// The language index as every choice by language reads it: 0 English, 1 German,
// 2 French, 3 Spanish, 4 Italian; any other value counts as English.
#pragma once

#include <cstdint>

namespace astro {

constexpr int kLanguageCount = 5;

constexpr int LanguageIndex(std::int32_t language) {
  return language >= 0 && language < kLanguageCount ? language : 0;
}

}  // namespace astro
