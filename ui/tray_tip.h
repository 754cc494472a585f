// The tip of the driver's tray icon.
#pragma once

#include <cstdint>

namespace astro {

// The product title of the language, or while the controller is lost, that it is
// disconnected (Windows-1252, at most 63 characters). Any index outside 0..4
// selects English.
const char* TrayTipText(std::int32_t language, bool controllerLost);

}  // namespace astro
