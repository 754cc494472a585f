// What the line decoder drives on the main thread: the controller's port, event
// delivery and the control panel.
#pragma once

#include "delivery/delivery_context.h"
#include "driver/device_link.h"
#include "driver/serial_bus.h"

namespace astro {

class MainThreadHost : public DeviceLinkHost {
 public:
  MainThreadHost(SerialBus& bus, DeliveryContext& context) : bus_(bus), context_(context) {}

  void SendCommand(const char* text, std::size_t length) override;
  void DeliverMotion() override;
  void DeliverButtons(std::uint32_t mask) override;
  bool PanelOpen() override;
  void PostPanelNote(std::uint32_t code, std::int32_t value) override;
  void RepaintPanel() override;

 private:
  SerialBus& bus_;
  DeliveryContext& context_;
};

}  // namespace astro
