// The state that motion shaping and client commands work on, set up as the driver
// has it after start-up: own window 1, target = own window, registered messages.
#pragma once

#include <gtest/gtest.h>

#include "delivery/delivery_scope.h"
#include "tests/unit/fake_delivery_platform.h"

namespace astro::testing {

constexpr WindowHandle kOwnWindow = 1;
constexpr std::uint32_t kMotionMessage = 0xC101;
constexpr std::uint32_t kCommandMessage = 0xC104;

class DeliveryFixture : public ::testing::Test {
 protected:
  DeliveryFixture() {
    context.ownWindow = kOwnWindow;
    context.targetWindow = kOwnWindow;
    context.motionEventMessage = kMotionMessage;
    context.buttonPressMessage = 0xC102;
    context.buttonReleaseMessage = 0xC103;
    context.commandEventMessage = kCommandMessage;
    platform.windows[kOwnWindow] = "";
  }

  void SetAxes(std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t a, std::int32_t b,
               std::int32_t c) {
    const std::int32_t values[kAxisCount] = {x, y, z, a, b, c};
    for (int i = 0; i < kAxisCount; ++i) context.axis[i] = values[i];
  }

  // A live client window with a title.
  void AddWindow(WindowHandle window, const std::string& title = "Client") {
    platform.windows[window] = title;
  }

  DeliveryContext context;
  SettingsRecord settings;
  RuntimeFlags flags;
  AppTable apps;
  ClientList clients;
  FakeDeliveryPlatform platform;
  DeliveryScope scope{context, settings, flags, apps, clients, platform};
};

}  // namespace astro::testing
