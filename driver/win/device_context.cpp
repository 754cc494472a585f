#include "driver/win/device_context.h"

#include <cstring>

#include "client/astrolab_client.h"
#include "config/password_scrambling.h"
#include "delivery/win/target_window.h"
#include "driver/port_discovery.h"
#include "driver/win/driver_state.h"
#include "driver/win/win_serial_bus.h"

namespace astro {
namespace {

std::uintptr_t RealHandleOf(HANDLE pseudoHandle) {
  HANDLE real = nullptr;
  HANDLE process = GetCurrentProcess();
  if (!DuplicateHandle(process, pseudoHandle, process, &real, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
    return 0;
  }
  return FromHandle(real);
}

}  // namespace

DeliveryContext* CreateDeviceContext(DeliveryContext* context, const char* portName, HWND window,
                                     SerialBus& bus, ErrorReporter& reporter) {
  if (context == nullptr) return nullptr;
  context->port = OpenDevice(bus, reporter, storedCommands, portName, &controllerPortName);
  if (context->port == 0) return nullptr;

  context->ownWindow = reinterpret_cast<WindowHandle>(window);
  // The main window ignores this announcement of itself; it only sets the target.
  SetTargetWindow(window);

  context->motionEventMessage = RegisterWindowMessageA(ASTROLAB_MOTION_EVENT);
  context->buttonPressMessage = RegisterWindowMessageA(ASTROLAB_BUTTON_PRESS_EVENT);
  context->buttonReleaseMessage = RegisterWindowMessageA(ASTROLAB_BUTTON_RELEASE_EVENT);
  context->commandEventMessage = RegisterWindowMessageA(ASTROLAB_COMMAND_EVENT);
  if (context->motionEventMessage == 0 || context->buttonPressMessage == 0 ||
      context->buttonReleaseMessage == 0 || context->commandEventMessage == 0) {
    bus.Close(context->port);
    context->port = kInvalidPort;
    return nullptr;
  }

  // Pseudo-handles mean "the caller" wherever they are used; other threads and
  // the priority calls get real ones.
  context->processHandle = RealHandleOf(GetCurrentProcess());
  context->threadHandle = RealHandleOf(GetCurrentThread());

  std::strncpy(settings.password, kDefaultPassword, sizeof(settings.password) - 1);
  settings.password[sizeof(settings.password) - 1] = '\0';
  return context;
}

}  // namespace astro
