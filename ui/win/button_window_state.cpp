#include "ui/win/button_window_state.h"

namespace astro {

HWND buttonInfoWindow = nullptr;

}  // namespace astro
