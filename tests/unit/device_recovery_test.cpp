#include "driver/device_recovery.h"

#include <gtest/gtest.h>

#include "driver/link_health.h"
#include "tests/unit/fake_serial_bus.h"

namespace astro::testing {
namespace {

using Lines = std::vector<std::string>;

class DeviceRecoveryTest : public ::testing::Test {
 protected:
  DeviceRecoveryTest() { recovery.Begin("COM3", 10'000); }

  // Steps at each due time until the recovery ends or `until` passes; the port it
  // returned, or kInvalidPort. What each step sends goes to `sends` with its time.
  PortHandle RunUntil(std::uint64_t until) {
    while (recovery.Active() && now <= until) {
      now += recovery.DueIn(now);
      if (now > until) break;
      const std::size_t before = bus.sent["COM3"].size();
      const PortHandle port = recovery.Step(now);
      const std::string& sent = bus.sent["COM3"];
      if (sent.size() > before) sends.push_back(std::to_string(now) + " " + sent.substr(before));
      if (port != kInvalidPort) return port;
    }
    return kInvalidPort;
  }

  FakeSerialBus bus;
  StoredCommands commands;
  DeviceRecovery recovery{bus, commands};
  std::uint64_t now = 10'000;
  Lines sends;
};

TEST_F(DeviceRecoveryTest, AnAbsentPortIsTriedEveryTwoSecondsAndNothingElse) {
  EXPECT_EQ(recovery.DueIn(10'000), 2000u);
  EXPECT_EQ(recovery.Step(11'999), kInvalidPort);
  EXPECT_TRUE(bus.log.empty());
  EXPECT_EQ(RunUntil(17'000), kInvalidPort);
  EXPECT_EQ(bus.log, (Lines{"Open COM3", "Open COM3", "Open COM3"}));  // at 12, 14 and 16 s
  EXPECT_TRUE(recovery.Active());
}

TEST_F(DeviceRecoveryTest, TheControllerBackIsPoweredAskedAndStartedUpAsAtStartUp) {
  bus.Port("COM3").replies = {"AIRCAP 3D V2.1\r"};
  const PortHandle port = RunUntil(20'000);
  ASSERT_NE(port, kInvalidPort);
  EXPECT_EQ(bus.NameOf(port), "COM3");
  EXPECT_FALSE(recovery.Active());
  // 2 s to the attempt, 1 s of power, 100 ms after init and after version, then
  // six commands 100 ms apart; it ends 100 ms after the last.
  EXPECT_EQ(sends, (Lines{"13000 \rz\r", "13100 vQ\r", "13200 n?\r", "13300 q00\r", "13400 pAA\r",
                          "13500 m3\r", "13600 c33\r", "13700 b9\r"}));
  EXPECT_EQ(now, 13'800u);
  EXPECT_EQ(bus.log,
            (Lines{"Open COM3", "SetupQueues COM3 256 5", "Apply COM3 on", "SetEventMask COM3",
                   "SetTimeouts COM3", "CreateEvent", "Send COM3 \rz\rvQ\r", "Poll COM3 5001",
                   "CloseEvent 5001", "Send COM3 n?\rq00\rpAA\rm3\rc33\rb9\r"}));
  EXPECT_EQ(bus.openHandles, 1);
  EXPECT_EQ(bus.openEvents, 0);
}

TEST_F(DeviceRecoveryTest, TheModeTheControllerHadIsTheOneSentAgain) {
  std::strcpy(commands.mode, "m5\r");
  bus.Port("COM3").replies = {"ASTROLAB 3D\r"};
  ASSERT_NE(RunUntil(20'000), kInvalidPort);
  EXPECT_EQ(sends.at(5), "13500 m5\r");
}

TEST_F(DeviceRecoveryTest, APortWithoutTheControllerIsClosedAndTriedAgainOnTime) {
  bus.Port("COM3").replies = {"MODEM OK 1234\r"};
  EXPECT_EQ(RunUntil(13'200), kInvalidPort);
  EXPECT_EQ(bus.openHandles, 0);
  EXPECT_EQ(bus.openEvents, 0);
  EXPECT_EQ(bus.Entries("Close COM"), (Lines{"Close COM3"}));
  // The attempt began at 12 s: the next one is at 14 s.
  EXPECT_EQ(recovery.DueIn(13'200), 800u);

  bus.Port("COM3").replies = {"ASTROLAB 3D\r"};
  EXPECT_NE(RunUntil(20'000), kInvalidPort);
  EXPECT_EQ(bus.Entries("Open"), (Lines{"Open COM3", "Open COM3"}));
}

TEST_F(DeviceRecoveryTest, RefusalsWhileSettingUpCloseWhatWasOpened) {
  bus.Port("COM3").powerOnRefused = true;
  RunUntil(12'000);
  EXPECT_EQ(bus.openHandles, 0);
  bus.Port("COM3").powerOnRefused = false;
  bus.failingCreateEventCall = 1;
  RunUntil(14'000);
  EXPECT_EQ(bus.openHandles, 0);
  bus.Port("COM3").transmitResults = {false, false};  // the init string
  bus.Port("COM3").replies = {"ASTROLAB 3D\r"};
  RunUntil(17'000);
  EXPECT_EQ(bus.openHandles, 0);
  EXPECT_EQ(bus.openEvents, 0);
  EXPECT_TRUE(bus.Entries("Poll").empty());
  // Nothing was wrong with the fourth attempt.
  EXPECT_NE(RunUntil(20'000), kInvalidPort);
}

TEST(LinkHealthTest, OnlyFailuresThatGoOnMakeTheLinkLost) {
  LinkHealth health;
  for (int i = 0; i < 19; ++i) health.Failed(1000 + i * 100);
  EXPECT_FALSE(health.Lost());  // 19 failures over 1.8 s: not yet
  health.Failed(3000);
  EXPECT_TRUE(health.Lost());

  health.Succeeded();
  EXPECT_FALSE(health.Lost());
  // Twenty at once are not enough: they must go on for 200 ms.
  for (int i = 0; i < 30; ++i) health.Failed(5000);
  EXPECT_FALSE(health.Lost());
  health.Failed(5199);
  EXPECT_FALSE(health.Lost());
  health.Failed(5200);
  EXPECT_TRUE(health.Lost());

  // A success now and then keeps a noisy line alive.
  health.Reset();
  for (int i = 0; i < 100; ++i) {
    health.Failed(6000 + i * 50);
    if (i % 10 == 9) health.Succeeded();
  }
  EXPECT_FALSE(health.Lost());
}

}  // namespace
}  // namespace astro::testing
