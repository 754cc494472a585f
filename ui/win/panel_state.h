// The control panel as other threads see it: its thread, its window (0 while the
// panel is closed) and the title it gives itself, by which the main window finds it.
#pragma once

#include <windows.h>

namespace astro {

constexpr int kPanelTitleSize = 128;

extern HWND panelWindow;
// The window that receives the panel's simulated button events: the broadcast
// handle from the panel's creation, then the driver's target as it announces it.
extern HWND panelTarget;
// The overall-sensitivity slider's position: the application's sensitivity
// factor as a rounded power of 2.
extern int overallStep;
// The panel's thread, started at the first Panel command; 0 before.
extern HANDLE panelThread;
// Starts as "Astrolab 3D Controller Panel"; the panel puts its own title here
// when it opens.
extern char panelTitle[kPanelTitleSize];

// panelWindow as it is now: the panel's thread sets and clears it at any time, so
// a caller reads it once and uses that value.
inline HWND CurrentPanelWindow() {
  return *static_cast<HWND volatile*>(&panelWindow);
}

}  // namespace astro
