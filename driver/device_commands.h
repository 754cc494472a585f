// The commands the driver sends the controller, kept as zero-terminated lines
// ending in carriage return. The mode command and the re-send copy of the long
// mode command change by adoption of the device's own mode; the rest never change.
#pragma once

#include <cstring>

namespace astro {

struct StoredCommands {
  char init[4] = "\rz\r";
  char version[4] = "vQ\r";
  char n[4] = "n?\r";
  char q[5] = "q00\r";
  char p[5] = "pAA\r";
  char mode[4] = "m3\r";
  char longModeStartup[5] = "c33\r";
  char longModeResend[5] = "c33\r";
  char beep[4] = "b9\r";
};

inline std::size_t CommandLength(const char* command) { return std::strlen(command); }

}  // namespace astro
