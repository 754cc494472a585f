#include "delivery/win/target_window.h"

#include "delivery/target_selection.h"
#include "delivery/win/delivery_state.h"

namespace astro {

void SetTargetWindow(HWND w) {
  SetTargetWindow(MainDeliveryScope(), reinterpret_cast<WindowHandle>(w));
}

}  // namespace astro
