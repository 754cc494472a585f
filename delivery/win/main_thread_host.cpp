#include "delivery/win/main_thread_host.h"

#include <windows.h>

#include "delivery/win/event_delivery.h"
#include "driver/port_discovery.h"
#include "ui/win/panel_state.h"

namespace astro {

void MainThreadHost::SendCommand(const char* text, std::size_t length) {
  SendDeviceCommand(bus_, context_.port, text, length, nullptr);
}

void MainThreadHost::DeliverMotion() {
  astro::DeliverMotion();
}

void MainThreadHost::DeliverButtons(std::uint32_t mask) {
  astro::DeliverButtons(mask);
}

bool MainThreadHost::PanelOpen() {
  return CurrentPanelWindow() != nullptr;
}

void MainThreadHost::PostPanelNote(std::uint32_t code, std::int32_t value) {
  // Read once: a post to a window 0 would land in this thread's own queue.
  HWND panel = CurrentPanelWindow();
  if (panel != nullptr) PostMessageA(panel, context_.commandEventMessage, code, value);
}

void MainThreadHost::RepaintPanel() {
  HWND panel = CurrentPanelWindow();
  if (panel != nullptr) PostMessageA(panel, WM_PAINT, 0, 0);
}

}  // namespace astro
