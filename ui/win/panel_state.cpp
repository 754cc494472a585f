#include "ui/win/panel_state.h"

namespace astro {

HWND panelWindow = nullptr;
HWND panelTarget = nullptr;
int overallStep = 0;
HANDLE panelThread = nullptr;
char panelTitle[kPanelTitleSize] = "Astrolab 3D Controller Panel";

}  // namespace astro
