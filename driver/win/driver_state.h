// The driver's process-wide state, one instance each for the whole run. Only the
// main thread writes it during start-up; later threads read single words of it.
#pragma once

#include <windows.h>

#include "config/settings_record.h"
#include "delivery/delivery_context.h"
#include "driver/device_commands.h"

namespace astro {

extern HINSTANCE programInstance;
extern HWND mainWindow;  // also ownWindow of the delivery context
extern DeliveryContext deliveryContext;
extern SettingsRecord settings;
extern RuntimeFlags runtimeFlags;
extern StoredCommands storedCommands;

constexpr int kMainWindowWidth = 500;
constexpr int kMainWindowHeight = 237;
constexpr const char kMainWindowClass[] = "ASTROLAB_3D_CONTROLLER";

}  // namespace astro
