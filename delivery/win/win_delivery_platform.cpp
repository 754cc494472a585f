#include "delivery/win/win_delivery_platform.h"

#include <windows.h>

#include "client/astrolab_client.h"
#include "ui/win/panel_state.h"

namespace astro {
namespace {

HWND ToWindow(WindowHandle window) {
  return reinterpret_cast<HWND>(window);
}

void SendMouseInput(DWORD flags, LONG dx, LONG dy, DWORD data) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dx = dx;
  input.mi.dy = dy;
  input.mi.mouseData = data;
  input.mi.dwFlags = flags;
  input.mi.time = 0;
  input.mi.dwExtraInfo = static_cast<ULONG_PTR>(GetMessageExtraInfo());
  SendInput(1, &input, sizeof input);
}

}  // namespace

void WinDeliveryPlatform::MoveMouse(std::int32_t dx, std::int32_t dy) {
  SendMouseInput(MOUSEEVENTF_MOVE, dx, dy, 0);
}

void WinDeliveryPlatform::TurnWheel(std::int32_t amount) {
  // The field is unsigned; a turn toward the user is the negative amount's bits.
  SendMouseInput(MOUSEEVENTF_WHEEL, 0, 0, static_cast<DWORD>(amount));
}

void WinDeliveryPlatform::PressMouseButton(std::uint32_t flags) {
  SendMouseInput(flags, 0, 0, 0);
}

std::uint32_t WinDeliveryPlatform::Post(WindowHandle window, std::uint32_t message,
                                        std::uintptr_t wParam, std::intptr_t lParam) {
  if (PostMessageA(ToWindow(window), message, static_cast<WPARAM>(wParam),
                   static_cast<LPARAM>(lParam))) {
    return 0;
  }
  const DWORD error = GetLastError();
  // A failure must never read as success, even if the system gave no reason.
  return error != 0 ? error : ERROR_GEN_FAILURE;
}

void WinDeliveryPlatform::ReadWindowTitle(WindowHandle window, char* title, std::size_t size) {
  if (size == 0) return;
  title[0] = '\0';
  if (!IsWindow(ToWindow(window))) return;
  const int length = GetWindowTextA(ToWindow(window), title, static_cast<int>(size));
  if (length <= 0) title[0] = '\0';
}

// A window that has just been destroyed in another process can still give a
// class name under Wine (a stale one): whether it exists is asked first.
bool WinDeliveryPlatform::WindowExists(WindowHandle window) {
  char className[64];
  return IsWindow(ToWindow(window)) &&
         GetClassNameA(ToWindow(window), className, sizeof className) != 0;
}

void WinDeliveryPlatform::ReadWindowClass(WindowHandle window, char* name, std::size_t size) {
  if (size == 0) return;
  if (!IsWindow(ToWindow(window)) ||
      GetClassNameA(ToWindow(window), name, static_cast<int>(size)) <= 0) {
    name[0] = '\0';
  }
}

void WinDeliveryPlatform::WindowThreadProcess(WindowHandle window, std::uint32_t* threadId,
                                              std::uint32_t* processId) {
  DWORD process = 0;
  *threadId = GetWindowThreadProcessId(ToWindow(window), &process);
  *processId = *threadId != 0 ? process : 0;
}

void WinDeliveryPlatform::PostToDriverWindow(std::uint32_t code, std::intptr_t lParam) {
  // Without the window a post would land in this thread's queue, where no loop
  // takes it.
  HWND driver = FindWindowA(ASTROLAB_WINDOW_CLASS, nullptr);
  if (driver != nullptr) {
    PostMessageA(driver, context_.commandEventMessage, code, static_cast<LPARAM>(lParam));
  }
}

WindowHandle WinDeliveryPlatform::PanelWindow() {
  return reinterpret_cast<WindowHandle>(CurrentPanelWindow());
}

}  // namespace astro
