#include "delivery/win/panel_opening.h"

#include <windows.h>

#include "driver/win/driver_state.h"
#include "ui/win/control_panel.h"
#include "ui/win/panel_state.h"

namespace astro {
namespace {

constexpr unsigned kPanelPollStep = 100;
// WM_USER with this wParam: the panel shows itself and comes to the front.
constexpr WPARAM kPanelShow = 2;

bool ShowPanel() {
  HWND panel = CurrentPanelWindow();
  if (panel == nullptr) return false;
  PostMessageA(panel, WM_USER, kPanelShow, 0);
  return true;
}

}  // namespace

void OpenControlPanel() {
  if (panelThread != nullptr && WaitForSingleObject(panelThread, 0) == WAIT_TIMEOUT) {
    ShowPanel();
    return;
  }
  if (panelThread != nullptr) CloseHandle(panelThread);
  panelThread = nullptr;
  DWORD threadId = 0;
  HANDLE thread = CreateThread(nullptr, 0, ControlPanelThread, &programInstance, 0, &threadId);
  if (thread == nullptr) return;
  panelThread = thread;
  // The main thread reads no packets meanwhile: the wait is bounded, and ends
  // early when the panel's thread ends without having made its window.
  for (unsigned waited = 0; waited < kPanelStartWait; waited += kPanelPollStep) {
    if (ShowPanel()) return;
    if (WaitForSingleObject(thread, kPanelPollStep) == WAIT_OBJECT_0) return;
  }
  ShowPanel();
}

}  // namespace astro
