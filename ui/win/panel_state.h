// The control panel as other threads see it: its window (0 while the panel is
// closed) and the title it gives itself, by which the main window finds it.
#pragma once

#include <windows.h>

namespace astro {

constexpr int kPanelTitleSize = 128;

extern HWND panelWindow;
// Starts as "Astrolab 3D Controller Panel"; the panel puts its own title here
// when it opens.
extern char panelTitle[kPanelTitleSize];

}  // namespace astro
