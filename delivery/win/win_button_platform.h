// What button actions need of the driver on Windows: the controller's beep, the
// button information window, the active keyboard mapping in the registry, the
// control panel and the main window.
#pragma once

#include "delivery/button_actions.h"
#include "delivery/delivery_context.h"

namespace astro {

class WinButtonPlatform : public ButtonPlatform {
 public:
  explicit WinButtonPlatform(const DeliveryContext& context) : context_(context) {}

  void Beep() override;
  WindowHandle ButtonInfoWindow() override;
  void SendToButtonInfo(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                        std::intptr_t lParam) override;
  std::optional<KeyEventList> ReadSequence(int slot) override;
  bool PanelVisible(WindowHandle panel) override;
  void PostPanelRequest(WindowHandle panel, std::uintptr_t request) override;
  void PostMenuCommand(int command) override;

 private:
  const DeliveryContext& context_;
};

}  // namespace astro
