// The driver on machines like users': other serial ports beside the controller
// (a silent port and another device below it), or the host's own serial port as
// Wine maps it by itself. Discovery picks the controller, the start-up commands
// go to its port only, and then the driver works: motion and buttons reach a
// client, its window answers and Exit ends it.
#include <gmock/gmock.h>

#include <thread>

#include "client/astrolab_client.h"
#include "tests/e2e/client_fixture.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;

enum class World { kOtherDevices, kHostPort };

std::string WorldName(const ::testing::TestParamInfo<World>& info) {
  return info.param == World::kOtherDevices ? "SilentPortAndOtherDevice" : "HostsOwnPort";
}

class UsersMachineTest : public ClientTest, public ::testing::WithParamInterface<World> {
 protected:
  void SetUp() override {
    ClientTest::SetUp();
    if (HasFatalFailure()) return;
    if (GetParam() == World::kHostPort) {
      // Only what Wine maps by itself on COM1: the host's /dev/ttyS0.
      withOtherPorts_ = false;
      std::string error;
      const std::optional<std::string> hostPort = session_.LeaveComPortToWine(1, &error);
      ASSERT_TRUE(hostPort.has_value()) << error;
      if (hostPort->empty()) GTEST_SKIP() << "this host has no serial device for Wine to map";
      // Otherwise the world would be tidier than it looks: the port must be one the
      // driver opens and configures.
      if (!session_.Probe({"open-port", "COM1"}).Succeeded()) {
        GTEST_SKIP() << "COM1 (" << *hostPort << ") does not open as a serial port under Wine";
      }
    }
  }

  bool WaitForEvents(const char* name, std::size_t count) {
    const auto deadline = Clock::now() + kReplyTimeout;
    while (ClientEvents(*client_, name).size() < count) {
      if (Clock::now() >= deadline) return false;
      std::this_thread::sleep_for(20ms);
    }
    return true;
  }
};

TEST_P(UsersMachineTest, ControllerOnCom5IsFoundAndTheDriverWorks) {
  controllerPort_ = 5;
  StartDriverAndClient({}, Shaping(), 0);
  ASSERT_FALSE(HasFatalFailure());

  // The start-up commands went to the controller's port alone.
  const std::vector<std::string> startup = {"", "z", "vQ", "n?", "q00", "pAA", "m3", "c33", "b9"};
  const std::vector<std::string> received = CommandLines(*controller_);
  ASSERT_GE(received.size(), startup.size());
  EXPECT_EQ(std::vector<std::string>(received.begin(), received.begin() + startup.size()), startup);
  if (GetParam() == World::kOtherDevices) {
    ASSERT_NE(otherPorts_.size(), 0u);
    for (const auto& port : otherPorts_) {
      EXPECT_THAT(CommandLines(*port), ElementsAre("", "z", "vQ"));
    }
  }

  // Motion: a sample arrives shaped by the default settings.
  const sim::Axes sample = {100, -200, 300, -40, 50, -60};
  EXPECT_THAT(SendAndCollect({sim::ShortMotionLine(sample)}),
              ElementsAre(*ExpectedMotion(sample, shaping_)));

  // Buttons: button 2 pressed and released.
  ASSERT_TRUE(controller_->SendRaw(sim::ButtonLine(0x2)));
  ASSERT_TRUE(controller_->SendRaw(sim::ButtonLine(0)));
  ASSERT_TRUE(WaitForEvents(ASTROLAB_BUTTON_RELEASE_EVENT, 1));
  ASSERT_TRUE(WaitForEvents(ASTROLAB_BUTTON_PRESS_EVENT, 1));
  const ClientEvent press = ClientEvents(*client_, ASTROLAB_BUTTON_PRESS_EVENT)[0];
  EXPECT_EQ(press.wParam, 2u);
  EXPECT_EQ(press.lParam, 2);

  // The window answers, and Exit ends the driver once confirmed.
  EXPECT_TRUE(session_.Probe({"sync-driver"}).Succeeded()) << "the driver's window hangs";
  ASSERT_TRUE(session_.Probe({"post-driver", "273", "109", "0"}).Succeeded());  // WM_COMMAND Exit
  const std::string caption = "Astrolab/AIRCAP 3D Controller";
  ASSERT_TRUE(session_.Probe({"wait-box", caption, "30000"}, 60s).Succeeded());
  ASSERT_TRUE(session_.Probe({"press", caption, "6"}).Succeeded());  // Yes
  EXPECT_EQ(driver_->WaitForExit(kExitTimeout), 0);
}

INSTANTIATE_TEST_SUITE_P(Worlds, UsersMachineTest,
                         ::testing::Values(World::kOtherDevices, World::kHostPort), WorldName);

// USB serial adapters get numbers above COM8, among the same other ports (and
// the host's own port, which Wine maps as COM9 here).
class PortsAboveCom8Test : public ClientTest {
 protected:
  // The driver started with the controller on COM<number> and the test client;
  // the start-up went to the controller, and the tray tip names its port.
  void StartWithControllerOn(int number) {
    controllerPort_ = number;
    StartDriverAndClient({}, Shaping(), 0);
    ASSERT_FALSE(HasFatalFailure());
    const std::vector<std::string> startup = {"", "z", "vQ", "n?", "q00", "pAA", "m3", "c33", "b9"};
    const std::vector<std::string> received = CommandLines(*controller_);
    ASSERT_GE(received.size(), startup.size());
    EXPECT_EQ(std::vector<std::string>(received.begin(), received.begin() + startup.size()),
              startup);
    const std::string tip = "Astrolab/AIRCAP 3D Controller - COM" + std::to_string(number);
    EXPECT_EQ(TrayTipUntil(tip), tip);
  }
};

TEST_F(PortsAboveCom8Test, AControllerOnCom12IsFoundWhenCom1ToCom8HaveNone) {
  StartWithControllerOn(12);
  ASSERT_FALSE(HasFatalFailure());
  // COM1..COM8 were asked once, in the first scan.
  ASSERT_NE(otherPorts_.size(), 0u);
  for (const auto& port : otherPorts_) EXPECT_THAT(CommandLines(*port), ElementsAre("", "z", "vQ"));
  const sim::Axes sample = {100, -200, 300, -40, 50, -60};
  EXPECT_THAT(SendAndCollect({sim::ShortMotionLine(sample)}),
              ElementsAre(*ExpectedMotion(sample, shaping_)));
}

TEST_F(PortsAboveCom8Test, AControllerOnCom3IsChosenAndOneOnCom12NeverHearsOfTheDriver) {
  sim::SimulatedController* second = Attach(12);
  ASSERT_NE(second, nullptr);
  StartWithControllerOn(3);
  EXPECT_TRUE(CommandLines(*second).empty());
}

}  // namespace
}  // namespace e2e
