// The hidden main window: its class and the window itself.
#pragma once

#include <windows.h>

#include <cstdint>

namespace astro {

bool RegisterMainWindowClass(HINSTANCE instance);

// Creates the window, not shown, with the title and menu of the language.
HWND CreateMainWindow(HINSTANCE instance, std::int32_t language);

}  // namespace astro
