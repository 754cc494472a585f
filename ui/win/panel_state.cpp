#include "ui/win/panel_state.h"

namespace astro {

HWND panelWindow = nullptr;
HANDLE panelThread = nullptr;
char panelTitle[kPanelTitleSize] = "Astrolab 3D Controller Panel";

}  // namespace astro
