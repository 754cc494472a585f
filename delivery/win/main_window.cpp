#include "delivery/win/main_window.h"

#include "delivery/win/target_window.h"
#include "driver/win/driver_state.h"

namespace astro {
namespace {

// A client announces its window; the driver's own window (announced at start-up)
// is not a client.
void OnSetClientWindow(LPARAM client) {
  if (static_cast<WindowHandle>(client) == deliveryContext.ownWindow) return;
  deliveryContext.targetWindow = static_cast<WindowHandle>(client);
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != 0 && message == deliveryContext.commandEventMessage &&
      wParam == kCmdSetClientWindow) {
    OnSetClientWindow(lParam);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace astro
