// Starting the driver with one simulated controller, for programs outside the
// test fixture (the figure programs in bench/).
#pragma once

#include <memory>
#include <string>

#include "sim/simulated_controller.h"
#include "tests/e2e/wine_session.h"

namespace e2e {

struct DriverLaunch {
  std::unique_ptr<sim::SimulatedController> controller;
  ChildProcess* driver = nullptr;
  // probe.exe wait-tray, started right after the driver; prints the
  // milliseconds it waited once the icon exists.
  ChildProcess* trayWaiter = nullptr;
};

// Unmaps every COM port and clears the driver's settings, puts a controller on
// COM<port>, then starts the driver and the tray waiter. False with a reason on
// failure.
bool LaunchDriverWithController(WineSession& session, int port, DriverLaunch* launch,
                                std::string* error);

}  // namespace e2e
