// One COM port as port discovery tracks it while it looks for the controller.
#pragma once

#include "driver/handles.h"
#include "driver/serial_bus.h"

namespace astro {

struct PortSlot {
  char name[8];  // "COMn", or the caller's name cut to 7 characters
  PortHandle handle;
  EventHandle event;
};

// Fills the slot with 0xFF bytes, so a handle or event never set reads as invalid.
void ResetPortSlot(PortSlot& slot);

// Closes the slot's port and marks it closed. A slot already closed is a fault
// of the caller: "Invalid Port Handle" goes to the reporter and the result is false.
bool ClosePort(SerialBus& bus, ErrorReporter& reporter, PortSlot& slot);

}  // namespace astro
