#include "delivery/button_actions.h"

#include "client/astrolab_client.h"
#include "delivery/main_menu.h"

namespace astro {
namespace {

constexpr std::uint32_t kButton9 = 1u << 8;
constexpr std::uint32_t kButtons1To8 = 0xFF;
constexpr std::uintptr_t kPanelShow = 2;
constexpr std::uintptr_t kPanelSaveAndHide = 3;
constexpr std::int32_t kWheelNotch = 120;

}  // namespace

void ButtonActions::DeliverButtons(std::uint32_t mask) {
  DeliveryContext& context = scope_.context;
  const std::uint32_t previous = context.buttonMask;
  // Releasing button 9 changes nothing for buttons 1 to 8 and releases 10 to 12.
  if (((previous ^ mask) & kButton9) != 0 && (previous & kButton9) != 0) {
    mask = previous & kButtons1To8;
  }
  if (!playback_.Running()) {
    for (auto& held : macroSlot_) held.reset();
  }
  // A sequence started in this report runs at least to the report's end, however
  // fast the system took its keys (and the beeps of later presses take time): a
  // second button of the same report is posted, not typed into the first.
  bool typingStarted = false;
  for (int button = 1; button <= kDeviceButtons; ++button) {
    const std::uint32_t bit = 1u << (button - 1);
    if (((previous ^ mask) & bit) == 0) continue;
    const bool press = (mask & bit) != 0;
    if (press && scope_.settings.buttonBeep) platform_.Beep();
    scope_.flags.buttonDown[button - 1] = press ? 1 : 0;
    const std::uint32_t message = press ? context.buttonPressMessage : context.buttonReleaseMessage;
    const auto wParam = static_cast<std::uintptr_t>(button);
    const auto lParam = static_cast<std::intptr_t>(mask);

    const WindowHandle info = platform_.ButtonInfoWindow();
    if (info != 0) platform_.SendToButtonInfo(info, message, wParam, lParam);
    // A press that types its sequence is not posted to the target; while a
    // sequence plays, presses go to the target.
    bool typed = false;
    if (press && !typingStarted && !playback_.Running()) {
      std::optional<KeyEventList> sequence = platform_.ReadSequence(button);
      typed = sequence.has_value();
      if (typed) {
        typingStarted = CountKeyEvents(sequence->data()) > 0;
        Play(button, std::move(*sequence));
      }
    }
    if (!typed) PostToTarget(message, wParam, lParam);
    PostIfOpen(scope_.platform.PanelWindow(), message, wParam, lParam);
    if (scope_.flags.mouseMode & MouseModeButtons) MouseButtons(button, press);
  }
  context.buttonMask = mask;
}

void ButtonActions::ReleaseAll() {
  // A release of button 9 keeps buttons 1 to 8 for a second report.
  for (int report = 0; report < 2 && scope_.context.buttonMask != 0; ++report) DeliverButtons(0);
  const struct {
    bool& latched;
    std::uint32_t up;
  } latches[] = {{leftLatched_, kMouseLeftUp},
                 {rightLatched_, kMouseRightUp},
                 {middleLatched_, kMouseMiddleUp}};
  for (const auto& latch : latches) {
    if (latch.latched) scope_.platform.PressMouseButton(latch.up);
    latch.latched = false;
  }
}

void ButtonActions::HintviewPress() {
  const DeliveryContext& context = scope_.context;
  const std::uint32_t message = context.buttonPressMessage;
  PostIfOpen(platform_.ButtonInfoWindow(), message, kHintviewButton, kHintviewMask);
  const WindowHandle panel = scope_.platform.PanelWindow();
  std::optional<KeyEventList> sequence = platform_.ReadSequence(kHintviewButton);
  if (sequence) {
    Play(kHintviewButton, std::move(*sequence));
  } else {
    if (panel != 0) {
      platform_.PostPanelRequest(panel,
                                 platform_.PanelVisible(panel) ? kPanelSaveAndHide : kPanelShow);
    } else {
      platform_.PostMenuCommand(kMenuPanel);
    }
  }
  if (scope_.settings.buttonBeep) platform_.Beep();
  // Unlike a device button's, this press reaches the target even when it types.
  PostToTarget(message, kHintviewButton, kHintviewMask);
  PostIfOpen(panel, message, kHintviewButton, kHintviewMask);
}

void ButtonActions::HintviewRelease() {
  const std::uint32_t message = scope_.context.buttonReleaseMessage;
  PostIfOpen(platform_.ButtonInfoWindow(), message, kHintviewButton, 0);
  PostToTarget(message, kHintviewButton, 0);
  PostIfOpen(scope_.platform.PanelWindow(), message, kHintviewButton, 0);
}

void ButtonActions::Play(int slot, KeyEventList sequence) {
  if (playback_.Running()) return;
  // Held until the next report that finds no playback running.
  std::optional<KeyEventList>& held = macroSlot_[slot - 1];
  held = std::move(sequence);
  playback_.Start(*held);
}

void ButtonActions::PostToTarget(std::uint32_t message, std::uintptr_t wParam,
                                 std::intptr_t lParam) {
  const WindowHandle target = scope_.context.targetWindow;
  if (target == 0) return;
  if (scope_.platform.Post(target, message, wParam, lParam) == kErrorInvalidWindowHandle) {
    scope_.apps.RemoveAppWindow(target);
  }
}

void ButtonActions::PostIfOpen(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                               std::intptr_t lParam) {
  if (window != 0) scope_.platform.Post(window, message, wParam, lParam);
}

void ButtonActions::Latch(bool& latched, bool press, bool toggles, std::uint32_t down,
                          std::uint32_t up) {
  if (toggles) {
    if (!press) return;
    scope_.platform.PressMouseButton(latched ? up : down);
    latched = !latched;
    return;
  }
  scope_.platform.PressMouseButton(press ? down : up);
  latched = press;
}

void ButtonActions::MouseButtons(int button, bool press) {
  switch (button) {
    case 1:
    case 2:
      Latch(leftLatched_, press, button == 2, kMouseLeftDown, kMouseLeftUp);
      break;
    case 3:
    case 4:
      Latch(rightLatched_, press, button == 3, kMouseRightDown, kMouseRightUp);
      break;
    case 5:
    case 6:
      Latch(middleLatched_, press, button == 6, kMouseMiddleDown, kMouseMiddleUp);
      break;
    case 8:
      if (press) scope_.platform.TurnWheel(kWheelNotch);
      break;
    default:
      break;  // buttons 7 and 9 to 12 move no mouse button
  }
}

}  // namespace astro
