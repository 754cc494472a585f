#include "driver/win/driver_state.h"

namespace astro {

HINSTANCE programInstance = nullptr;
HWND mainWindow = nullptr;
DeliveryContext deliveryContext;
SettingsRecord settings;
RuntimeFlags runtimeFlags;
StoredCommands storedCommands;
WinSerialBus serialBus;
WinRegistry userRegistry;
HHOOK activationHook = nullptr;
std::string controllerPortName;
bool controllerLost = false;
DeviceRecovery deviceRecovery(serialBus, storedCommands);

}  // namespace astro
