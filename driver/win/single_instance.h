// Refusing a second copy of the driver.
#pragma once

#include <cstdint>

namespace astro {

// When the driver's main window already exists, tells the user so in the given
// language and returns true.
bool RefuseSecondInstance(std::int32_t language);

}  // namespace astro
