// The dots per inch a window is shown at, for everything the program draws
// itself: the monitor's where the system knows it (Windows 10 1607 on), else the
// system's, which older systems use for every window. 96 is 100 %.
#pragma once

#include <windows.h>

namespace astro {

constexpr UINT kBaseDpi = 96;

// Posted to a window that followed a change of DPI, once the default handling of
// that change (which re-lays out a dialog's controls) is over: pictures made for
// the controls' sizes are made again then.
constexpr UINT kDpiLayoutChanged = WM_APP + 0x2E0;

UINT WindowDpi(HWND window);
// For a window about to be made: the system's DPI.
UINT SystemDpi();

// A length in pixels at 96 dpi, at this DPI (rounded to the nearest pixel).
int PixelsForDpi(int pixelsAt96, UINT dpi);

// A system metric (GetSystemMetrics' index) at the window's DPI.
int WindowSystemMetric(HWND window, int index);

// For every window procedure and dialog procedure to call first. On
// WM_DPICHANGED (the window went to a monitor of another DPI) the window takes
// the rectangle the system suggests, is repainted whole, and gets
// kDpiLayoutChanged posted. It never claims a message: the default handling
// (which scales a dialog's controls and fonts) still runs.
void FollowDpiChange(HWND window, UINT message, LPARAM lParam);

}  // namespace astro
