// The "CommandEvent" codes that clients and the control panel send the driver's
// main window (see client/astrolab_client.h for the codes and their arguments).
#pragma once

#include <cstddef>
#include <cstdint>

#include "delivery/delivery_scope.h"

namespace astro {

// What the commands need beyond event delivery's platform.
class CommandPlatform {
 public:
  virtual ~CommandPlatform() = default;
  // Writes bytes to the controller with the serial command writer (SendDeviceCommand
  // on the context's port); the result is not looked at.
  virtual void SendDeviceBytes(const char* bytes, std::size_t length) = 0;
  // Blocks the main thread (no packets are read meanwhile).
  virtual void Sleep(unsigned milliseconds) = 0;
  // Greys (false) or enables (true) the "Panel" item, id 110, of the main window's menu.
  virtual void EnablePanelMenuItem(bool enable) = 0;
  // Posts WM_SYSCOMMAND with SC_MINIMIZE to the driver's own main window.
  virtual void MinimiseMainWindow() = 0;
  // Posts "CommandEvent" with code and lParam to the window whose title is the
  // panel's title (panelTitle); nothing when there is no such window.
  virtual void PostToPanelByTitle(std::uint32_t code, std::intptr_t lParam) = 0;
};

// How the window procedure answers the message after HandleClientCommand.
enum class CommandAnswer {
  kDefault,  // pass it on to default processing
  kZero,     // answer 0 without default processing
};

// Acts on one "CommandEvent" (wParam code, lParam argument) on the main thread.
// Unknown codes and the reserved 27698 do nothing.
CommandAnswer HandleClientCommand(const DeliveryScope& scope, CommandPlatform& platform,
                                  std::uintptr_t code, std::intptr_t argument);

// The device's beep character for a requested duration, and how long the beep
// keeps the main thread asleep.
struct BeepStep {
  char character;
  unsigned sleepMilliseconds;
};
BeepStep BeepForDuration(std::int32_t milliseconds);

}  // namespace astro
