// Program entry: start-up in its fixed order, then the main loop. Every failure
// before the tray icon shows a box and ends the program with -1; a tray icon that
// the system never takes ends it with -1 as well.
#include <windows.h>
// Needs the types of windows.h.
#include <commctrl.h>

#include "config/mapping_store.h"
#include "config/settings_store.h"
#include "config/win/key_sense.h"
#include "config/win/language_setting.h"
#include "delivery/win/main_thread_host.h"
#include "driver/device_link.h"
#include "driver/device_recovery.h"
#include "driver/win/controller_link.h"
#include "driver/win/device_context.h"
#include "driver/win/driver_state.h"
#include "driver/win/error_box.h"
#include "driver/win/hook_host_launch.h"
#include "driver/win/hook_library.h"
#include "driver/win/main_loop.h"
#include "driver/win/main_window_setup.h"
#include "driver/win/single_instance.h"
#include "driver/win/win_serial_bus.h"
#include "ui/tooltip_table.h"
#include "ui/win/bitmap_button.h"
#include "ui/win/button_window.h"
#include "ui/win/tray_icon.h"

namespace astro {
namespace {

MessageBoxReporter errorReporter;
MainThreadHost mainThreadHost(serialBus, deliveryContext);
DeviceLink deviceLink(deliveryContext, settings, runtimeFlags, storedCommands, mainThreadHost);
ControllerLink controllerLink;

// Set to 1, the main loop sleeps only on the port's comm event, as it does with
// Windows ports; for testing that way where reads pend (Wine).
bool CommEventWaitAsked() {
  char value[8] = {};
  const DWORD length = GetEnvironmentVariableA("ASTRODRIVER_COMM_EVENT_WAIT", value, sizeof value);
  return length > 0 && length < sizeof value && value[0] == '1' && value[1] == '\0';
}

int Fail(const char* text) {
  ReportError(text);
  return -1;
}

int FailAfterWindow(const char* text) {
  ReportError(text);
  DestroyWindow(mainWindow);
  return -1;
}

int RunDriver(HINSTANCE instance) {
  InitCommonControls();
  programInstance = instance;
  RegisterBitmapButtonClass(instance);
  RegisterKeySenseClass(instance);

  // Only the language is read before the check: the refusal speaks it.
  settings.language = ReadStoredLanguage(userRegistry);
  if (RefuseSecondInstance(settings.language)) return -1;

  if (!RegisterMainWindowClass(instance)) {
    return Fail("Can\xB4t register a Astrolab window class");
  }
  LoadSettings(userRegistry, settings, runtimeFlags);

  mainWindow = CreateMainWindow(instance, settings.language);
  if (mainWindow == nullptr) return Fail("Can\xB4t open a window");

  HANDLE serialEvent = CreateEventA(nullptr, TRUE, FALSE, kSerialEventName);
  HANDLE readEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (serialEvent == nullptr || readEvent == nullptr) {
    return FailAfterWindow("Function failed CreateEvent");
  }
  static MainLoop mainLoop(serialEvent, readEvent, deviceRecovery, controllerLink);
  if (CommEventWaitAsked()) mainLoop.SleepOnCommEventOnly();

  if (CreateDeviceContext(&deliveryContext, nullptr, mainWindow, serialBus, errorReporter) ==
      nullptr) {
    return FailAfterWindow("Can\xB4t find a Astrolab/AIRCAP 3D Controller device!");
  }

  mainLoop.StartWaiting(ToHandle(deliveryContext.port), controllerPortName);

  // Motion packets become messages with little delay.
  SetPriorityClass(ToHandle(deliveryContext.processHandle), HIGH_PRIORITY_CLASS);
  SetThreadPriority(ToHandle(deliveryContext.threadHandle), THREAD_PRIORITY_HIGHEST);

  InstallDefaultMappings(userRegistry);

  // Without its icon the hidden driver could not be reached: a failure, and
  // reported as one.
  if (!AddTrayIcon(mainWindow, instance, settings.language)) return -1;

  FillTooltipTable();
  // The hook library before the button window's thread: a thread that opens its
  // window while the hook is being installed can hang in it. The 32-bit
  // programs' hook first: the system calls the newest hook first, and Wine (which
  // calls no hook across bitness) goes no further in a process than the first
  // hook whose library it cannot load, so the 64-bit hook must come first there
  // for the 64-bit programs. Windows calls both either way.
  StartHookHost();
  activationHook = StartHookThread();
  if (settings.buttonInfo != 0) StartButtonWindow();

  mainLoop.Run(mainWindow, deviceLink);
  return 0;
}

}  // namespace
}  // namespace astro

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  return astro::RunDriver(instance);
}
