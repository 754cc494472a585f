// What the device's buttons do: each change of a button report beeps, informs
// the button information window, types the button's key sequence or posts
// "ButtonPressEvent"/"ButtonReleaseEvent" to the target and the panel, and drives
// the mouse buttons and wheel when the client asked for it. The push gesture's
// virtual button 12 is pressed and released here too.
#pragma once

#include <cstdint>
#include <optional>

#include "config/key_event.h"
#include "delivery/delivery_scope.h"
#include "delivery/push_recognizer.h"

namespace astro {

constexpr int kDeviceButtons = 12;
constexpr int kHintviewButton = 12;
// lParam of the virtual button 12's press: bit 11 alone.
constexpr std::uint32_t kHintviewMask = 1u << 11;

// What button actions need of the driver beyond event delivery's platform.
class ButtonPlatform {
 public:
  virtual ~ButtonPlatform() = default;
  // Sends the stored beep command to the device and waits 100 ms.
  virtual void Beep() = 0;
  // The button information window (buttonInfoWindow), 0 while it is closed.
  virtual WindowHandle ButtonInfoWindow() = 0;
  // Sends the message and waits until it is handled.
  virtual void SendToButtonInfo(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                std::intptr_t lParam) = 0;
  // The key sequence of button slot 1..12 in the active mapping; none when the
  // button has none (or it cannot be read). An empty list counts as a sequence.
  virtual std::optional<KeyEventList> ReadSequence(int slot) = 0;
  virtual bool PanelVisible(WindowHandle panel) = 0;
  // WM_USER with wParam 2 (show and come to the front) or 3 (save and hide).
  virtual void PostPanelRequest(WindowHandle panel, std::uintptr_t request) = 0;
  // A menu command to the driver's own main window.
  virtual void PostMenuCommand(int command) = 0;
};

// Types key sequences into the focused window, one at a time.
class Playback {
 public:
  virtual ~Playback() = default;
  virtual bool Running() = 0;
  // Starts typing the sequence (an empty one types nothing); false when one is
  // running already.
  virtual bool Start(const KeyEventList& sequence) = 0;
};

class ButtonActions : public HintviewButton {
 public:
  ButtonActions(const DeliveryScope& scope, ButtonPlatform& platform, Playback& playback)
      : scope_(scope), platform_(platform), playback_(playback) {}

  // A button report: bit n-1 of mask is device button n.
  void DeliverButtons(std::uint32_t mask);
  // The controller is gone: every button held is released as a report of no
  // button would release it, and a mouse button held by a drag lock goes up, so
  // that nothing stays pressed.
  void ReleaseAll();

  void HintviewPress() override;
  void HintviewRelease() override;

  // The sequence held for button n's last press (index n - 1), if any.
  const std::optional<KeyEventList>& MacroSlot(int index) const { return macroSlot_[index]; }

 private:
  // Holds the slot's sequence and types it, unless a playback runs.
  void Play(int slot, KeyEventList sequence);
  // Posts to the target; a target that is gone leaves the application table. Not
  // to window 0, whose posts would land in this thread's own queue.
  void PostToTarget(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
  void PostIfOpen(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                  std::intptr_t lParam);
  void MouseButtons(int button, bool press);
  // Press on the first call, release on the second, or a drag lock that toggles.
  void Latch(bool& latched, bool press, bool toggles, std::uint32_t down, std::uint32_t up);

  const DeliveryScope& scope_;
  ButtonPlatform& platform_;
  Playback& playback_;
  std::optional<KeyEventList> macroSlot_[kDeviceButtons];
  bool leftLatched_ = false;
  bool rightLatched_ = false;
  bool middleLatched_ = false;
};

}  // namespace astro
