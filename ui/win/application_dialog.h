// The target-application dialog: the user picks which registered client receives
// the controller's events.
#pragma once

#include <windows.h>

#include <cstdint>

namespace astro {

// Modal, owned by owner, in the language; closes at once without a controller.
void RunApplicationDialog(HWND owner, std::int32_t language);

}  // namespace astro
