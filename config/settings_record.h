// The user's settings, one global instance, read and written in place.
#pragma once

#include <cstdint>

#include "client/astrolab_client.h"

namespace astro {

constexpr int kGyrodiscCount = 5;
constexpr int kPasswordField = 20;  // at most 19 characters and a terminating zero

struct SettingsRecord {
  double axisScale[6] = {1.0, 1.0, 1.0, 1.0, 1.0, 1.0};
  std::int32_t axisEnabled[6] = {1, 1, 1, 1, 1, 1};
  std::int32_t buttonBeep = 1;
  std::int32_t modeChangeable = 1;
  std::int32_t buttonInfo = 0;
  std::int32_t buttonInfoX = 100;
  std::int32_t buttonInfoY = 100;
  std::int32_t nullRadius = 0;
  std::int32_t hintviewAllowed = 1;
  std::int32_t gyrodiscLock[kGyrodiscCount] = {1, 1, 1, 1, 1};
  std::int32_t gyrodiscButton[kGyrodiscCount] = {12, 4, 8, 5, 6};
  std::int32_t language = 0;
  std::int32_t lockExit = 0;
  std::int32_t lockPanel = 0;
  std::int32_t lockApplication = 0;
  std::int32_t lockKeyboard = 0;
  std::int32_t lockLanguage = 0;
  char password[kPasswordField] = {};
};

// The flags that live beside the settings for the length of a run, shared across
// threads as single aligned words.
struct RuntimeFlags {
  std::int32_t hintviewActive = 0;
  std::int32_t hintviewCapable = 0;
  std::int32_t modeRotation = 0;
  std::int32_t modeTranslation = 0;
  std::int32_t modeDominant = 0;
  std::int32_t nAdoptFlag = 0;
  // Mouse emulation, set only by client commands: the MouseMode* bits (a byte) and
  // the two divisors (unsigned 16-bit values, never 0): the first for translations
  // and the B term, the second for rotations.
  std::int32_t mouseMode = MouseModeDefault;
  std::int32_t mouseDivisor[2] = {10, 10};
  // 1 while device button n (index n - 1) is down; the control panel shows them.
  std::int32_t buttonDown[12] = {};
};

}  // namespace astro
