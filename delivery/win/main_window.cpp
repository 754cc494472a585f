#include "delivery/win/main_window.h"

#include <dbt.h>

#include <cstddef>
#include <string>

#include "delivery/client_commands.h"
#include "delivery/main_menu.h"
#include "delivery/win/delivery_state.h"
#include "delivery/win/exit_and_locks.h"
#include "delivery/win/main_dialog_guard.h"
#include "delivery/win/menu_dialogs.h"
#include "delivery/win/panel_opening.h"
#include "delivery/win/win_command_platform.h"
#include "delivery/window_word.h"
#include "driver/win/driver_state.h"
#include "driver/win/image_ids.h"
#include "ui/win/button_window.h"
#include "ui/win/scaled_pictures.h"
#include "ui/win/tray_icon.h"
#include "ui/win/window_dpi.h"

namespace astro {
namespace {

constexpr char kHookMessageName[] = "AstrolabHookMsg";

void RemovePending(HWND window, UINT message) {
  MSG pending;
  while (PeekMessageA(&pending, window, message, message, PM_REMOVE)) {
  }
}

// Client and panel commands, on the main thread.
LRESULT OnCommandEvent(HWND window, UINT message, WPARAM code, LPARAM argument) {
  static WinCommandPlatform platform(serialBus, deliveryContext);
  const CommandAnswer answer =
      HandleClientCommand(MainDeliveryScope(), platform, static_cast<std::uintptr_t>(code),
                          static_cast<std::intptr_t>(argument));
  if (answer == CommandAnswer::kZero) return 0;
  return DefWindowProcA(window, message, code, argument);
}

void PaintPicture(HWND window) {
  PAINTSTRUCT paint;
  HDC target = BeginPaint(window, &paint);
  RECT client;
  GetClientRect(window, &client);
  DrawScaledPicture(target, ImageId(2), client);
  EndPaint(window, &paint);
}

// A serial port appeared (an adapter plugged in): while the controller is lost,
// it is asked at once. The system gives the name in the window's character set;
// a name that reads as UTF-16 is taken as such.
void OnDeviceChange(WPARAM event, LPARAM data) {
  const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
  if (event != DBT_DEVICEARRIVAL || header == nullptr ||
      header->dbch_devicetype != DBT_DEVTYP_PORT ||
      header->dbch_size <= offsetof(DEV_BROADCAST_PORT_A, dbcp_name)) {
    return;
  }
  const auto* port = reinterpret_cast<const DEV_BROADCAST_PORT_A*>(header);
  const std::size_t room = header->dbch_size - offsetof(DEV_BROADCAST_PORT_A, dbcp_name);
  const char* bytes = port->dbcp_name;
  const bool wide = room >= 2 && bytes[0] != '\0' && bytes[1] == '\0';
  std::string name;
  for (std::size_t i = 0; i < room && bytes[i] != '\0' && name.size() < 16; i += wide ? 2 : 1) {
    name.push_back(bytes[i]);
  }
  deviceRecovery.PortArrived(name, GetTickCount64());
}

// The tray icon's double-click: the hidden window comes back at its place.
void ShowMainWindow(HWND window) {
  ShowWindow(window, SW_RESTORE);
  const UINT dpi = WindowDpi(window);
  SetWindowPos(window, nullptr, 1, 1, PixelsForDpi(kMainWindowWidth, dpi),
               PixelsForDpi(kMainWindowHeight, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  SetForegroundWindow(window);
}

// Closing the window ends the driver: the stored lock is checked as the Exit
// command checks it, so that a lock set in the registry meanwhile counts.
// While a dialog of the main window is open, the request brings it to the front
// instead of asking inside it.
LRESULT OnClose(HWND window) {
  if (MainDialogOpen()) {
    RemovePending(window, WM_CLOSE);
    BringMainDialogToFront();
    return 0;
  }
  MainDialogScope scope;
  ReloadSettings();
  if (settings.lockExit) {
    RemovePending(window, WM_CLOSE);
    ShowLockedFunctionBox(window);
    return 0;
  }
  if (!ConfirmExit(0)) RemovePending(window, WM_CLOSE);
  return 0;
}

bool IsMainMenuCommand(int command) {
  switch (command) {
    case kMenuExit:
    case kMenuPanel:
    case kMenuAbout:
    case kMenuApplication:
    case kMenuKeyboard:
    case kMenuSecurity:
    case kMenuLanguage:
      return true;
    default:
      return false;
  }
}

// A menu command. Every one reloads the settings first, so that locks set in
// the registry meanwhile count. False when it is answered 0. While a dialog of
// the main window is open, a command that would open one (the panel's, which
// runs on its own thread, only when it is refused) brings the open one to the
// front instead.
bool OnMenuCommand(HWND window, int command) {
  if (MainDialogOpen() && command != kMenuPanel && IsMainMenuCommand(command)) {
    BringMainDialogToFront();
    return false;
  }
  ReloadSettings();
  if (CommandLocked(settings, command)) {
    if (MainDialogOpen()) {
      BringMainDialogToFront();
    } else {
      MainDialogScope scope;
      ShowLockedFunctionBox(window);
    }
    return false;
  }
  if (command == kMenuPanel || !IsMainMenuCommand(command)) {
    if (command == kMenuPanel) OpenControlPanel();
    return true;
  }
  MainDialogScope scope;
  switch (command) {
    case kMenuExit:
      if (!ConfirmExit(0)) {
        RemovePending(window, WM_CLOSE);
        return false;
      }
      break;
    case kMenuAbout:
      OpenAboutDialog();
      break;
    case kMenuApplication:
      OpenApplicationDialog(window, settings.language);
      break;
    case kMenuKeyboard:
      OpenKeyboardDialog(window, settings.language);
      break;
    case kMenuSecurity:
      RunSecurityFlow(window);
      break;
    case kMenuLanguage:
      OpenLanguageDialog();
      break;
    default:
      break;
  }
  return true;
}

// The registered messages. Only once the device context holds the driver's
// message numbers; before that they get default processing.
bool OnRegisteredMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message == TaskbarCreatedMessage()) {
    // The shell was (re)started: its notification area holds no icon.
    RestoreTrayIcon();
    return false;
  }
  if (deliveryContext.commandEventMessage == 0) return false;
  static const UINT hookMessage = RegisterWindowMessageA(kHookMessageName);
  if (message == hookMessage) {
    const auto activated = WindowFromWord(static_cast<std::intptr_t>(wParam));
    MainActivationTracker().OnActivation(activated);
    MainProgramNames().Activated();
    NoteActivatedWindow(reinterpret_cast<HWND>(activated));
    FollowProgramInFront(reinterpret_cast<HWND>(activated));
    return false;
  }
  if (message == deliveryContext.commandEventMessage) {
    *result = OnCommandEvent(window, message, wParam, lParam);
    return true;
  }
  return false;
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  FollowDpiChange(window, message, lParam);
  switch (message) {
    case WM_CREATE:
      SetClassLongPtrA(
          window, GCLP_HICON,
          reinterpret_cast<LONG_PTR>(LoadIconA(programInstance, MAKEINTRESOURCEA(ImageId(1)))));
      UpdateMenuLocks(window);
      break;
    case WM_DESTROY:
      if (settings.lockExit) {
        RemovePending(window, WM_DESTROY);
        return 0;
      }
      PostQuitMessage(1);
      break;
    case WM_SYSCOMMAND:
      // Minimising a hidden window would show it, as an icon: CmdEnablePanelMenu
      // asks for it whether the window is open or not.
      if ((wParam & 0xFFF0) == SC_MINIMIZE && !IsWindowVisible(window)) return 0;
      break;
    case WM_SIZE:
      // Minimised (no client area left): the window goes; the tray icon stays.
      if (lParam == 0) ShowWindow(window, SW_HIDE);
      break;
    case WM_PAINT:
      PaintPicture(window);
      return 0;
    case WM_CLOSE:
      return OnClose(window);
    case WM_ICONERASEBKGND:
      PostMessageA(window, WM_PAINTICON, wParam, lParam);
      break;
    case WM_COMMAND:
      if (!OnMenuCommand(window, LOWORD(wParam))) return 0;
      break;
    case WM_DEVICECHANGE:
      OnDeviceChange(wParam, lParam);
      break;
    case kTrayCallbackMessage:
      if (lParam == WM_LBUTTONDBLCLK) ShowMainWindow(window);
      break;
    default: {
      LRESULT result = 0;
      if (OnRegisteredMessage(window, message, wParam, lParam, &result)) return result;
      break;
    }
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace astro
