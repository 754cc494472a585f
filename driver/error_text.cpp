// The texts of the start-up error boxes.
#include <cstdio>

#include "driver/port_discovery.h"

namespace astro {
namespace {
constexpr std::size_t kErrorTextSize = 256;  // 255 characters and the terminator
}

void ReportPortError(ErrorReporter& reporter, int portNumber, const char* text) {
  char message[kErrorTextSize];
  std::snprintf(message, sizeof message, "COM%d: %s", portNumber, text);
  reporter.ReportError(message);
}

std::string FormatErrorText(const char* text, std::uint32_t code) {
  char message[kErrorTextSize];
  // The same code as the system's unsigned hex and as a signed 32-bit number,
  // so both forms of a negative status are readable.
  const long signedCode = static_cast<std::int32_t>(code);
  const int written = std::snprintf(message, sizeof message, "%s\nError Code = 0x%08X = %ld \n",
                                    text, static_cast<unsigned>(code), signedCode);
  if (written < 0) return std::string();
  return std::string(message);
}

}  // namespace astro
