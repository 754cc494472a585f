// Start-up with controllers present: which port is chosen, what the controller
// is sent, and that the driver then stays up with its tray icon.
#include <gmock/gmock.h>

#include <thread>

#include "tests/e2e/driver_fixture.h"
#include "tests/e2e/driver_launch.h"

namespace e2e {
namespace {

using ::testing::ElementsAre;
using namespace std::chrono_literals;

// The driver paces the start-up commands with 100 ms waits; allow for a coarse
// clock but not for a missing wait.
constexpr auto kMinimumCommandGap = 90ms;

class StartupTest : public DriverTest {};

TEST_F(StartupTest, ControllerOnCom3AmongOtherPortsIsInitialisedAndTheDriverStaysUp) {
  sim::SimulatedController* controller = Attach(3);
  ASSERT_NE(controller, nullptr);
  ChildProcess* driver = StartDriver();
  ASSERT_NE(driver, nullptr);

  ASSERT_TRUE(controller->WaitForCommand("b9", kStartupTimeout))
      << "no start-up beep; received " << ::testing::PrintToString(CommandLines(*controller))
      << "; driver " << (driver->Running() ? "running" : "ended");
  const std::vector<sim::ReceivedCommand> commands = controller->Commands();
  EXPECT_THAT(CommandLines(*controller),
              ElementsAre("", "z", "vQ", "n?", "q00", "pAA", "m3", "c33", "b9"));
  ASSERT_EQ(commands.size(), 9u);
  for (std::size_t i = 4; i < commands.size(); ++i) {
    // The simulator stamps every line of one read with one time: two commands that
    // came in one read (its reader was late) tell nothing about their spacing.
    if (commands[i].arrival == commands[i - 1].arrival) continue;
    const auto gap = std::chrono::duration_cast<std::chrono::milliseconds>(commands[i].arrival -
                                                                           commands[i - 1].arrival);
    EXPECT_GE(gap.count(), kMinimumCommandGap.count())
        << "ms between \"" << commands[i - 1].line << "\" and \"" << commands[i].line << "\"";
  }

  // The other ports took part in discovery and heard nothing after it.
  EXPECT_EQ(otherPorts_.size(), UsersMachinePorts().size());
  for (const auto& port : otherPorts_) {
    EXPECT_THAT(CommandLines(*port), ElementsAre("", "z", "vQ"));
  }

  EXPECT_TRUE(WaitForTrayIcon());
  std::this_thread::sleep_for(3s);
  EXPECT_TRUE(driver->Running());
  EXPECT_TRUE(session_.Probe({"find-window", "ASTROLAB_3D_CONTROLLER"}).Succeeded());
  EXPECT_TRUE(session_.Probe({"tray-icon-exists"}).Succeeded());
}

TEST_F(StartupTest, OfTwoControllersTheLowerPortIsChosen) {
  sim::SimulatedController* second = Attach(2);
  sim::SimulatedController* fifth = Attach(5);
  ASSERT_NE(second, nullptr);
  ASSERT_NE(fifth, nullptr);
  ASSERT_NE(StartDriver(), nullptr);

  ASSERT_TRUE(second->WaitForCommand("b9", kStartupTimeout));
  ASSERT_TRUE(WaitForTrayIcon());
  EXPECT_THAT(CommandLines(*second),
              ElementsAre("", "z", "vQ", "n?", "q00", "pAA", "m3", "c33", "b9"));
  // COM5 took part in discovery and heard nothing after it.
  EXPECT_THAT(CommandLines(*fifth), ElementsAre("", "z", "vQ"));
}

}  // namespace
}  // namespace e2e
