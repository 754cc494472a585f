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

  // The tray icon's tip as the desktop shows it when the pointer rests on the
  // icon; hovers again until it reads `expected` or the time is up.
  std::string TrayTipUntil(const std::string& expected) {
    const ProbeResult point = session_.Probe({"tray-icon-center"});
    if (!point.Succeeded() || !point.Field("POINT")) return "(no tray window)";
    std::istringstream words(*point.Field("POINT"));
    std::string x, y;
    words >> x >> y;
    const std::string xdotool = FindOnPath("xdotool");
    std::string tip;
    const auto deadline = Clock::now() + kReplyTimeout;
    do {
      // Away and back, so that the desktop shows the tip afresh.
      session_.Run({xdotool, "mousemove", "600", "700"}, 10s);
      session_.Run({xdotool, "mousemove", x, y}, 10s);
      session_.Run({xdotool, "mousemove_relative", "1", "1"}, 10s);
      tip = session_.Probe({"wait-tooltip", "5000"}).Text().value_or("");
    } while (tip != expected && Clock::now() < deadline);
    return tip;
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
  sim::SimulatedController* back = Attach(3);
  ASSERT_NE(back, nullptr);
  ASSERT_TRUE(back->WaitForCommand("b9", kStartupTimeout));
  EXPECT_THAT(CommandLines(*back),
              ElementsAre("", "z", "vQ", "n?", "q00", "pAA", "m3", "c33", "b9"));
  controller_ = back;
  EXPECT_EQ(NextSampleGoesTo(), client.window);
  EXPECT_EQ(TrayTipUntil("Astrolab/AIRCAP 3D Controller"), "Astrolab/AIRCAP 3D Controller");
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
