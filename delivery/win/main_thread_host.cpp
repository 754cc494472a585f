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
  return panelWindow != nullptr;
}

void MainThreadHost::PostPanelNote(std::uint32_t code, std::int32_t value) {
  PostMessageA(panelWindow, context_.commandEventMessage, code, value);
}

void MainThreadHost::RepaintPanel() {
  PostMessageA(panelWindow, WM_PAINT, 0, 0);
}

}  // namespace astro
