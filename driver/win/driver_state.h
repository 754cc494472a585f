// The driver's process-wide state, one instance each for the whole run. Only the
// main thread writes it during start-up; later threads read single words of it.
#pragma once

#include <windows.h>

#include <string>

#include "client/astrolab_client.h"
#include "config/settings_record.h"
#include "config/win/win_registry.h"
#include "delivery/delivery_context.h"
#include "driver/device_commands.h"
#include "driver/device_recovery.h"
#include "driver/win/win_serial_bus.h"

namespace astro {

extern HINSTANCE programInstance;
extern HWND mainWindow;  // also ownWindow of the delivery context
extern DeliveryContext deliveryContext;
extern SettingsRecord settings;
extern RuntimeFlags runtimeFlags;
extern StoredCommands storedCommands;
// The ports (discovery, the main loop's commands, client device commands) and the
// current user's registry (the settings).
extern WinSerialBus serialBus;
extern WinRegistry userRegistry;
// The hook handle that the activation hook library returned, 0 without one.
extern HHOOK activationHook;
// The port the controller was found on ("COM3"), or the one it came back on after
// a loss; where it is looked for first when it is lost.
extern std::string controllerPortName;
// The controller's port failed for good and the driver is waiting for it to come
// back; deliveryContext.port is kInvalidPort meanwhile.
extern bool controllerLost;
// Brings a lost controller back (the main loop steps it; the main window tells
// it of ports that appear).
extern DeviceRecovery deviceRecovery;

// Whether the controller was found at start-up (it may be lost for a while since):
// the dialogs that need it close at once without it.
inline bool DeviceLinked() {
  return controllerLost || (deliveryContext.port != 0 && deliveryContext.port != kInvalidPort);
}

// The main window's outer size at 96 dpi; it is made larger at higher DPI.
constexpr int kMainWindowWidth = 500;
constexpr int kMainWindowHeight = 237;
constexpr const char kMainWindowClass[] = ASTROLAB_WINDOW_CLASS;

}  // namespace astro
