// Opens the controller and fills the delivery context around it.
#pragma once

#include <windows.h>

#include "delivery/delivery_context.h"
#include "driver/serial_bus.h"

namespace astro {

// Finds and starts the controller (portName replaces the COMn names when given),
// makes window the own window and the target, registers the four messages and keeps
// real handles of the process and this thread. Returns context, or nullptr when no
// context is given, no controller answers or a message cannot be registered.
DeliveryContext* CreateDeviceContext(DeliveryContext* context, const char* portName, HWND window,
                                     SerialBus& bus, ErrorReporter& reporter);

}  // namespace astro
