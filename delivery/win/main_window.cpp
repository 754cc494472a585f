#include "delivery/win/main_window.h"

#include "delivery/client_commands.h"
#include "delivery/win/delivery_state.h"
#include "delivery/win/win_command_platform.h"
#include "driver/win/driver_state.h"

namespace astro {
namespace {

// Client and panel commands, on the main thread.
LRESULT OnCommandEvent(HWND window, UINT message, WPARAM code, LPARAM argument) {
  static WinCommandPlatform platform(serialBus, deliveryContext);
  const CommandAnswer answer =
      HandleClientCommand(MainDeliveryScope(), platform, static_cast<std::uintptr_t>(code),
                          static_cast<std::intptr_t>(argument));
  if (answer == CommandAnswer::kZero) return 0;
  return DefWindowProcA(window, message, code, argument);
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SYSCOMMAND:
      // Minimising a hidden window would show it, as an icon: CmdEnablePanelMenu
      // asks for it whether the window is open or not.
      if ((wParam & 0xFFF0) == SC_MINIMIZE && !IsWindowVisible(window)) return 0;
      break;
    case WM_SIZE:
      // Minimised (no client area left): the window goes; the tray icon stays.
      if (lParam == 0) ShowWindow(window, SW_HIDE);
      break;
    default:
      // The registered messages count only once the device context holds their
      // numbers.
      if (message != 0 && message == deliveryContext.commandEventMessage) {
        return OnCommandEvent(window, message, wParam, lParam);
      }
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace astro
