// Event delivery's state on the main thread: the application table, the client
// list, the activation tracker, and the scope that motion shaping, client
// commands and target choice work on.
#pragma once

#include <windows.h>

#include "delivery/activation_tracker.h"
#include "delivery/app_table.h"
#include "delivery/client_list.h"
#include "delivery/delivery_scope.h"

namespace astro {

extern AppTable appTable;
extern ClientList clientList;
// The journal playback hook that types a button's key sequence, 0 while none plays.
extern HHOOK playbackHook;

// The driver's context, settings, run-time flags, tables, the Win32 platform and
// the activation tracker as the client binding. The push recognizer is not there
// yet.
const DeliveryScope& MainDeliveryScope();
ActivationTracker& MainActivationTracker();

}  // namespace astro
