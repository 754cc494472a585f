// The record shared by the decoder and everything that delivers its results.
#pragma once

#include <cstdint>

#include "driver/handles.h"

namespace astro {

enum Axis { kAxisX, kAxisY, kAxisZ, kAxisA, kAxisB, kAxisC, kAxisCount };

struct AppEntry {
  WindowHandle window = 0;
  std::uint32_t processId = 0;
  std::uint32_t threadId = 0;
};

struct DeliveryContext {
  std::uintptr_t processHandle = 0;  // real handle of the driver's process
  std::uintptr_t threadHandle = 0;   // real handle of the main thread
  WindowHandle targetWindow = 0;
  // The user chose "no application" as the target: no fallback client is looked
  // for until a client registers or the user chooses again.
  bool targetClearedByUser = false;
  WindowHandle ownWindow = 0;
  std::uint32_t buttonMask = 0;  // bit n-1 for button n
  std::int32_t axis[kAxisCount] = {};
  PortHandle port = kInvalidPort;
  std::uint32_t motionEventMessage = 0;
  std::uint32_t buttonPressMessage = 0;
  std::uint32_t buttonReleaseMessage = 0;
  std::uint32_t commandEventMessage = 0;
  AppEntry currentApp;
};

}  // namespace astro
