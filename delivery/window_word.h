// Window handles that travel in a 32-bit message word. Window handles fit in 32
// bits on 64-bit Windows too, and a 32-bit program passes them in a 32-bit word:
// the low 32 bits are the handle, sign-extended as the system itself widens them.
#pragma once

#include <cstdint>

#include "driver/handles.h"

namespace astro {

inline WindowHandle WindowFromWord(std::intptr_t word) {
  return static_cast<WindowHandle>(
      static_cast<std::intptr_t>(static_cast<std::int32_t>(static_cast<std::uint32_t>(word))));
}

}  // namespace astro
