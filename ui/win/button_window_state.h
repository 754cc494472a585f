// The button information window as other threads see it: its window (0 while it
// is closed) and its thread. Its own thread sets and clears them.
#pragma once

#include <windows.h>

namespace astro {

extern HWND buttonInfoWindow;
extern HANDLE buttonInfoThread;
extern DWORD buttonInfoThreadId;

// buttonInfoWindow as it is now, read once.
inline HWND CurrentButtonInfoWindow() {
  return *static_cast<HWND volatile*>(&buttonInfoWindow);
}

}  // namespace astro
