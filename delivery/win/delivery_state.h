// Event delivery's state on the main thread: the application table, the client
// list, and the scope that motion shaping, client commands and target choice work on.
#pragma once

#include "delivery/app_table.h"
#include "delivery/client_list.h"
#include "delivery/delivery_scope.h"

namespace astro {

extern AppTable appTable;
extern ClientList clientList;

// The driver's context, settings, run-time flags, tables and the Win32 platform.
// The push recognizer and the client binding are not there yet.
const DeliveryScope& MainDeliveryScope();

}  // namespace astro
