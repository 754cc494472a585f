// The base of the end-to-end tests: a Wine session with no driver settings,
// simulated controllers on chosen ports, and the driver. The driver finds the
// other serial ports of a user's machine beside them (UsersMachinePorts) unless
// a test asks for a world without them and says why.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "sim/simulated_controller.h"
#include "tests/e2e/wine_session.h"

namespace e2e {

// Generous limits for things that must happen; never used to judge speed.
constexpr std::chrono::seconds kStartupTimeout{60};
constexpr std::chrono::seconds kReplyTimeout{15};
constexpr std::chrono::seconds kExitTimeout{30};

class DriverTest : public ::testing::Test {
 protected:
  // Fails the test (rather than skipping it) when Wine or the Windows programs
  // are missing.
  void SetUp() override;
  void TearDown() override;

  // A simulated controller linked as COM<number>; null (and a failure) if it
  // cannot start.
  sim::SimulatedController* Attach(int number,
                                   sim::Personality personality = sim::Personality::kController);
  // Links the other ports of a user's machine whose numbers no Attach took, once;
  // StartDriver does it itself.
  void AttachOtherPorts();
  ChildProcess* StartDriver();
  // Waits until the tray icon exists (the last step of the driver's start-up
  // that can be seen from outside).
  bool WaitForTrayIcon();
  // A controller on COM<controllerPort_> and the driver started with it, up to the end of its
  // start-up: the beep command has gone out and the tray icon exists. The driver's
  // process goes to *driver when asked for. Null (and a failure) otherwise.
  sim::SimulatedController* StartDriverWithController(ChildProcess** driver = nullptr);
  // The tray icon's tip as the desktop shows it when the pointer rests on the
  // icon; hovers again until it reads `expected` or the reply time-out passes.
  std::string TrayTipUntil(const std::string& expected);

  WineSession session_;
  std::vector<std::unique_ptr<sim::SimulatedController>> controllers_;
  // The other ports of a user's machine, once linked.
  std::vector<std::unique_ptr<sim::SimulatedController>> otherPorts_;
  // False: only the ports the test attaches exist (the test says why).
  bool withOtherPorts_ = true;
  int controllerPort_ = 3;  // where StartDriverWithController attaches the controller
  std::set<int> attached_;
  // The driver's current directory; empty: the scratch directory.
  std::string driverDirectory_;
};

// A driver that has started with a controller on COM3; the controller's record
// starts empty.
class RunningDriverTest : public DriverTest {
 protected:
  void SetUp() override;

  sim::SimulatedController* controller_ = nullptr;
};

// The command lines of a controller, without their arrival times.
std::vector<std::string> CommandLines(const sim::SimulatedController& controller);

}  // namespace e2e
