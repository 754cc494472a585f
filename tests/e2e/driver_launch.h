// Starting the driver in the world of a user's machine: the other serial ports
// such a machine has beside the controller, and the driver with one simulated
// controller for programs outside the test fixture (the figure programs in bench/).
#pragma once

#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "sim/simulated_controller.h"
#include "tests/e2e/wine_session.h"

namespace e2e {

// A port of a user's machine that is not the controller's.
struct OtherPort {
  int number;
  sim::Personality personality;
};

// Most machines have other serial ports: a built-in port or a USB adapter with
// nothing on it (it opens and stays silent) and a modem or another device (it
// answers the version string without naming the controller). The driver gets
// them below and above the controller's port; COM4 and COM8 stay absent.
inline const std::vector<OtherPort>& UsersMachinePorts() {
  static const std::vector<OtherPort> ports = {{1, sim::Personality::kSilent},
                                               {2, sim::Personality::kAnonymousPort},
                                               {6, sim::Personality::kAnonymousPort},
                                               {7, sim::Personality::kSilent}};
  return ports;
}

// Starts a simulated device for every port of UsersMachinePorts() whose number is
// not taken and links it, adding it to *devices. False with a reason on failure.
bool AttachOtherPorts(WineSession& session, const std::set<int>& taken,
                      std::vector<std::unique_ptr<sim::SimulatedController>>* devices,
                      std::string* error);

struct DriverLaunch {
  std::unique_ptr<sim::SimulatedController> controller;
  // The other ports of a user's machine, when asked for.
  std::vector<std::unique_ptr<sim::SimulatedController>> otherPorts;
  ChildProcess* driver = nullptr;
  // probe.exe wait-tray, started right after the driver; prints the
  // milliseconds it waited once the icon exists.
  ChildProcess* trayWaiter = nullptr;
};

// A text value (REG_SZ) in a named keyboard mapping's key.
struct MappingText {
  std::string mapping;
  std::string name;
  std::string text;
};

struct LaunchOptions {
  int port = 3;  // the controller's
  // The other ports of a user's machine beside it; without them only the
  // controller's port exists.
  bool otherPorts = true;
  // Stored (as REG_SZ) before the driver starts.
  std::vector<std::pair<std::string, std::string>> settings;
  // Stored before the driver starts, such as a mapping's "Programs".
  std::vector<MappingText> mappingTexts;
};

// Unmaps every COM port and clears the driver's settings, stores the given
// settings and mapping texts, puts a controller on its port (and the other ports
// when asked for), then starts the driver and the tray waiter. False with a
// reason on failure.
bool LaunchDriverWithController(WineSession& session, const LaunchOptions& options,
                                DriverLaunch* launch, std::string* error);

}  // namespace e2e
