#include "delivery/win/target_window.h"

#include "driver/win/driver_state.h"

namespace astro {

void SetTargetWindow(HWND w) {
  deliveryContext.targetWindow = reinterpret_cast<WindowHandle>(w);
  PostMessageA(FindWindowA(kMainWindowClass, nullptr), deliveryContext.commandEventMessage,
               kCmdSetClientWindow, reinterpret_cast<LPARAM>(w));
}

}  // namespace astro
