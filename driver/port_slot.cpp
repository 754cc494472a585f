#include "driver/port_slot.h"

#include <cstring>

namespace astro {

void ResetPortSlot(PortSlot& slot) {
  std::memset(&slot, 0xFF, sizeof slot);
}

bool ClosePort(SerialBus& bus, ErrorReporter& reporter, PortSlot& slot) {
  if (slot.handle == kInvalidPort) {
    reporter.ReportError("Invalid Port Handle");
    return false;
  }
  bus.Close(slot.handle);
  slot.handle = kInvalidPort;
  return true;
}

}  // namespace astro
