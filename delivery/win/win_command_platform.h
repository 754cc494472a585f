// What client commands need of the driver on Windows: the controller's port, the
// main window's menu and the control panel's window.
#pragma once

#include <windows.h>

#include "delivery/client_commands.h"
#include "delivery/delivery_context.h"
#include "driver/serial_bus.h"

namespace astro {

class WinCommandPlatform : public CommandPlatform {
 public:
  WinCommandPlatform(SerialBus& bus, const DeliveryContext& context)
      : bus_(bus), context_(context) {}

  void SendDeviceBytes(const char* bytes, std::size_t length) override;
  void Sleep(unsigned milliseconds) override;
  void EnablePanelMenuItem(bool enable) override;
  void MinimiseMainWindow() override;
  void PostToPanelByTitle(std::uint32_t code, std::intptr_t lParam) override;

 private:
  HWND OwnWindow() const { return reinterpret_cast<HWND>(context_.ownWindow); }

  SerialBus& bus_;
  const DeliveryContext& context_;
};

}  // namespace astro
