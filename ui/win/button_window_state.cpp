#include "ui/win/button_window_state.h"

namespace astro {

HWND buttonInfoWindow = nullptr;
HANDLE buttonInfoThread = nullptr;
DWORD buttonInfoThreadId = 0;

}  // namespace astro
