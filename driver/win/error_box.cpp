#include "driver/win/error_box.h"

#include <windows.h>

#include <string>

#include "driver/port_discovery.h"

namespace astro {

int ReportError(const char* text) {
  // Taken first: building the text may change the thread's last error.
  const DWORD code = GetLastError();
  const std::string message = FormatErrorText(text, code);
  MessageBoxA(nullptr, message.c_str(), "ERROR", MB_OK | MB_ICONEXCLAMATION);
  return 0;
}

}  // namespace astro
