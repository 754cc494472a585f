// Event delivery on the Win32 window system: posts, input synthesis and window
// queries for motion shaping and target choice.
#pragma once

#include "delivery/delivery_context.h"
#include "delivery/delivery_platform.h"

namespace astro {

class WinDeliveryPlatform : public DeliveryPlatform {
 public:
  // context: the driver's, for the "CommandEvent" number.
  explicit WinDeliveryPlatform(const DeliveryContext& context) : context_(context) {}

  void MoveMouse(std::int32_t dx, std::int32_t dy) override;
  void TurnWheel(std::int32_t amount) override;
  void PressMouseButton(std::uint32_t flags) override;
  std::uint32_t Post(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                     std::intptr_t lParam) override;
  void ReadWindowTitle(WindowHandle window, char* title, std::size_t size) override;
  bool WindowExists(WindowHandle window) override;
  void ReadWindowClass(WindowHandle window, char* name, std::size_t size) override;
  void WindowThreadProcess(WindowHandle window, std::uint32_t* threadId,
                           std::uint32_t* processId) override;
  void PostToDriverWindow(std::uint32_t code, std::intptr_t lParam) override;
  WindowHandle PanelWindow() override;

 private:
  const DeliveryContext& context_;
};

}  // namespace astro
