#include "delivery/win/win_button_platform.h"

#include <windows.h>

#include <cstring>

#include "config/mapping_links.h"
#include "config/mapping_store.h"
#include "delivery/win/delivery_state.h"
#include "delivery/win/win_process_query.h"
#include "driver/port_discovery.h"
#include "driver/win/driver_state.h"
#include "ui/win/button_window_state.h"

namespace astro {
namespace {

constexpr DWORD kBeepWait = 100;

HWND ToWindow(WindowHandle window) {
  return reinterpret_cast<HWND>(window);
}

}  // namespace

void WinButtonPlatform::Beep() {
  SendDeviceCommand(serialBus, context_.port, storedCommands.beep, std::strlen(storedCommands.beep),
                    nullptr);
  Sleep(kBeepWait);
}

WindowHandle WinButtonPlatform::ButtonInfoWindow() {
  return reinterpret_cast<WindowHandle>(CurrentButtonInfoWindow());
}

void WinButtonPlatform::SendToButtonInfo(WindowHandle window, std::uint32_t message,
                                         std::uintptr_t wParam, std::intptr_t lParam) {
  SendMessageA(ToWindow(window), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
}

std::optional<KeyEventList> WinButtonPlatform::ReadSequence(int slot) {
  return ReadSequenceInForce(
      userRegistry, [] { return ProgramInFrontOf(MainProgramNames()); }, slot);
}

bool WinButtonPlatform::PanelVisible(WindowHandle panel) {
  return IsWindowVisible(ToWindow(panel)) != FALSE;
}

void WinButtonPlatform::PostPanelRequest(WindowHandle panel, std::uintptr_t request) {
  PostMessageA(ToWindow(panel), WM_USER, static_cast<WPARAM>(request), 0);
}

void WinButtonPlatform::PostMenuCommand(int command) {
  PostMessageA(ToWindow(context_.ownWindow), WM_COMMAND, static_cast<WPARAM>(command), 0);
}

}  // namespace astro
