#include "ui/win/panel_state.h"

namespace astro {

HWND panelWindow = nullptr;

}  // namespace astro
