// The control panel's window as other threads see it: 0 while the panel is closed.
#pragma once

#include <windows.h>

namespace astro {

extern HWND panelWindow;

}  // namespace astro
