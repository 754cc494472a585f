// A controller that vanishes (its pseudo-terminal closes, as an unplugged adapter
// makes its port fail) and comes back on the same link: the driver lets go of the
// held button, costs nothing while it waits, says so in its tray tip, and takes up
// the controller again on its port with its start-up commands.
#include <gmock/gmock.h>

#include <thread>

#include "client/astrolab_client.h"
#include "tests/e2e/client_events.h"
#include "tests/e2e/client_fixture.h"
#include "tests/e2e/harness_paths.h"
#include "tests/e2e/process_stats.h"
#include "tests/e2e/tracking_fixture.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;

constexpr std::uint32_t kButton7 = 1u << 6;  // moves no mouse button

class ControllerLossTest : public TrackingTest {
 protected:
  std::size_t Events(const ClientWindow& client, const char* name, std::uint64_t button) const {
    std::size_t count = 0;
    for (const ClientEvent& event : ClientEvents(*client.process, name)) {
      count += event.wParam == button;
    }
    return count;
  }
  bool WaitForEvent(const ClientWindow& client, const char* name, std::uint64_t button) const {
    const auto deadline = Clock::now() + kReplyTimeout;
    while (Events(client, name, button) == 0) {
      if (Clock::now() >= deadline) return false;
      std::this_thread::sleep_for(20ms);
    }
    return true;
  }

  // Sends marker samples until the client has one more than before: markers the
  // driver reads before it has taken the client's registration go elsewhere.
  bool ReachesClient(const ClientWindow& client) {
    const std::size_t before = MarkersAt(client);
    const auto deadline = Clock::now() + kStartupTimeout;
    while (Clock::now() < deadline) {
      if (!controller_->SendRaw(sim::ShortMotionLine(kMarker))) return false;
      for (const auto next = Clock::now() + 2s; Clock::now() < next;) {
        if (MarkersAt(client) > before) return true;
        std::this_thread::sleep_for(20ms);
      }
    }
    return false;
  }

  // The controller back on COM<number> has its whole start-up within `limit`; then
  // motion goes to the client as before and the tray tip names the port.
  void ExpectTakenUpOn(int number, sim::SimulatedController* back, const ClientWindow& client,
                       std::chrono::seconds limit) {
    ASSERT_NE(back, nullptr);
    ASSERT_TRUE(back->WaitForCommand("b9", limit)) << "COM" << number << " was not taken up";
    EXPECT_THAT(CommandLines(*back),
                ElementsAre("", "z", "vQ", "n?", "q00", "pAA", "m3", "c33", "b9"));
    controller_ = back;
    EXPECT_EQ(NextSampleGoesTo(), client.window);
    const std::string tip = "Astrolab/AIRCAP 3D Controller - COM" + std::to_string(number);
    EXPECT_EQ(TrayTipUntil(tip), tip);
  }

  // Driver and wineserver CPU time over 10 s, in ms.
  double CpuOverTenSeconds() {
    const auto server = FindWineserver(session_.PrefixDir());
    if (!server) return -1;
    const auto driverBefore = CpuTimeMs(driver_->Pid());
    const auto serverBefore = CpuTimeMs(*server);
    std::this_thread::sleep_for(10s);  // the measurement's window, not a synchronisation
    const auto driverAfter = CpuTimeMs(driver_->Pid());
    const auto serverAfter = CpuTimeMs(*server);
    if (!driverBefore || !serverBefore || !driverAfter || !serverAfter) return -1;
    return (*driverAfter - *driverBefore) + (*serverAfter - *serverBefore);
  }
};

TEST_F(ControllerLossTest, AVanishedControllerCostsNothingAndComesBackOnItsPort) {
  const ClientWindow client = StartClient("Modeler");
  ASSERT_TRUE(RoutesTo(client));
  std::string motion;
  for (int i = 0; i < 50; ++i) motion += sim::ShortMotionLine({i, -i, 2 * i, 0, 0, 0});
  ASSERT_TRUE(controller_->SendRaw(motion));
  ASSERT_TRUE(RoutesTo(client));
  ASSERT_TRUE(controller_->SendRaw(sim::ButtonLine(kButton7)));
  ASSERT_TRUE(WaitForEvent(client, ASTROLAB_BUTTON_PRESS_EVENT, 7));

  controller_->Stop();
  // The held button is let go of towards the client.
  EXPECT_TRUE(WaitForEvent(client, ASTROLAB_BUTTON_RELEASE_EVENT, 7));
  EXPECT_EQ(TrayTipUntil("Astrolab/AIRCAP 3D Controller - disconnected"),
            "Astrolab/AIRCAP 3D Controller - disconnected");
  EXPECT_FALSE(session_.Screenshot("tray_tip_disconnected", "400x80+0+0").empty());
  const double cpuMs = CpuOverTenSeconds();
  EXPECT_GE(cpuMs, 0);
  EXPECT_LT(cpuMs, 200) << "driver and wineserver CPU while the controller is away";
  ASSERT_TRUE(driver_->Running());

  // The controller comes back on the same link: the driver finds it there.
  ExpectTakenUpOn(3, Attach(3), client, kStartupTimeout);
}

// Plugged into another USB socket, the controller comes back on another port: the
// driver asks every port now and then, and a port the system announces at once.
TEST_F(ControllerLossTest, BackOnAnotherPortItIsFoundThereAndAnAnnouncedPortIsAskedAtOnce) {
  const std::string disconnected = "Astrolab/AIRCAP 3D Controller - disconnected";
  const ClientWindow client = StartClient("Modeler");
  ASSERT_TRUE(RoutesTo(client));
  // Unplugged: the adapter's port goes with it.
  std::string error;
  controller_->Stop();
  ASSERT_TRUE(session_.UnlinkComPort(3, &error)) << error;
  EXPECT_EQ(TrayTipUntil(disconnected), disconnected);
  // Waiting costs next to nothing, the searches of every port included.
  const double cpuMs = CpuOverTenSeconds();
  EXPECT_GE(cpuMs, 0);
  EXPECT_LT(cpuMs, 200) << "driver and wineserver CPU while the controller is away";

  // Back on COM6, where another device was: found within 15 s of its return.
  sim::SimulatedController* back = Attach(6);
  ExpectTakenUpOn(6, back, client, 15s);
  ASSERT_FALSE(HasFatalFailure());

  // Lost again and plugged in as COM14, which the system announces: COM14 is asked
  // at once, before the next search of every port would ask COM2's device.
  sim::SimulatedController* otherDevice = otherPorts_.at(1).get();  // COM2
  const std::size_t otherHeard = CommandLines(*otherDevice).size();
  back->Stop();
  ASSERT_TRUE(session_.UnlinkComPort(6, &error)) << error;
  sim::SimulatedController* announced = Attach(14);
  ASSERT_NE(announced, nullptr);
  // Announced again and again: the driver takes no notice until it has found the
  // controller lost.
  const auto deadline = Clock::now() + kReplyTimeout;
  while (!announced->WaitForCommand("vQ", 300ms)) {
    ASSERT_LT(Clock::now(), deadline) << "COM14 was never asked";
    ASSERT_TRUE(session_.Probe({"device-arrival", "COM14"}).Succeeded());
  }
  ASSERT_TRUE(announced->WaitForCommand("b9", kReplyTimeout));
  EXPECT_EQ(CommandLines(*otherDevice).size(), otherHeard);
  controller_ = announced;
  EXPECT_EQ(NextSampleGoesTo(), client.window);
}

// The same on the loop's other way of waiting (the one Windows ports take), where
// waits rather than reads fail; it wakes often under Wine, so CPU is not judged.
class ControllerLossOnCommEventPathTest : public ControllerLossTest {
 protected:
  void BeforeDriverStarts() override {
    session_.SetEnvironment("ASTRODRIVER_COMM_EVENT_WAIT", "1");
  }
};

TEST_F(ControllerLossOnCommEventPathTest, AVanishedControllerIsLetGoOfAndTakenUpAgain) {
  const ClientWindow client = StartClient("Modeler");
  ASSERT_TRUE(ReachesClient(client));
  ASSERT_TRUE(controller_->SendRaw(sim::ButtonLine(kButton7)));
  ASSERT_TRUE(WaitForEvent(client, ASTROLAB_BUTTON_PRESS_EVENT, 7));
  controller_->Stop();
  EXPECT_TRUE(WaitForEvent(client, ASTROLAB_BUTTON_RELEASE_EVENT, 7));
  sim::SimulatedController* back = Attach(3);
  ASSERT_NE(back, nullptr);
  ASSERT_TRUE(back->WaitForCommand("b9", kStartupTimeout));
  controller_ = back;
  EXPECT_EQ(NextSampleGoesTo(), client.window);
}

}  // namespace
}  // namespace e2e
