// The start-up error box: caption "ERROR", the text and the calling thread's last
// system error code.
#pragma once

#include "driver/serial_bus.h"

namespace astro {

// Shows the box without owner; returns 0.
int ReportError(const char* text);

class MessageBoxReporter : public ErrorReporter {
 public:
  void ReportError(const char* text) override { astro::ReportError(text); }
};

}  // namespace astro
