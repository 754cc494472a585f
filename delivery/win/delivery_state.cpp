#include "delivery/win/delivery_state.h"

#include <atomic>

#include "delivery/push_recognizer.h"
#include "delivery/win/push_log_file.h"
#include "delivery/win/win_button_platform.h"
#include "delivery/win/win_delivery_platform.h"
#include "delivery/win/win_process_query.h"
#include "driver/win/driver_state.h"

namespace astro {

AppTable appTable;
ClientList clientList;

namespace {

// In the order they need each other; the objects only keep references at
// construction, so the scope may be bound before it is made.
extern const DeliveryScope mainScope;

WinDeliveryPlatform deliveryPlatform(deliveryContext);
ActivationTracker activationTracker(deliveryContext, appTable, deliveryPlatform);
KeyPlayback keyPlayback;
WinButtonPlatform buttonPlatform(deliveryContext);
ButtonActions buttonActions(mainScope, buttonPlatform, keyPlayback);
PushLogFile pushLog;
PushGestureRecognizer pushRecognizer(buttonActions, pushLog);
WinProcessQuery processQuery;
ProgramNames programNames(processQuery);

const DeliveryScope mainScope{deliveryContext, settings,          runtimeFlags,
                              appTable,        clientList,        deliveryPlatform,
                              &pushRecognizer, &activationTracker};

}  // namespace

const DeliveryScope& MainDeliveryScope() {
  return mainScope;
}

ActivationTracker& MainActivationTracker() {
  return activationTracker;
}

ButtonActions& MainButtonActions() {
  return buttonActions;
}

KeyPlayback& MainKeyPlayback() {
  return keyPlayback;
}

ProgramNames& MainProgramNames() {
  return programNames;
}

namespace {
std::atomic<HWND> lastForeignWindow{nullptr};
}  // namespace

void NoteActivatedWindow(HWND window) {
  DWORD process = 0;
  if (window != nullptr) GetWindowThreadProcessId(window, &process);
  if (process != 0 && process != GetCurrentProcessId()) lastForeignWindow = window;
}

HWND LastForeignWindow() {
  return lastForeignWindow;
}

}  // namespace astro
