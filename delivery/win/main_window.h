// The window procedure of the hidden main window.
#pragma once

#include <windows.h>

namespace astro {

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace astro
