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

TEST_F(DeviceRecoveryTest, OwnPortEveryTwoSecondsAndFromTheThirdTryEveryFifthAsksEveryPort) {
  bus.systemPorts = {"COM12", "COM3", "COM9"};
  EXPECT_EQ(recovery.DueIn(10'000), 2000u);
  EXPECT_EQ(recovery.Step(11'999), kInvalidPort);
  EXPECT_TRUE(bus.log.empty());
  EXPECT_EQ(RunUntil(33'000), kInvalidPort);
  // Tries at 12, 14, 16, ... 32 s; the 3rd (16 s) and the 8th (26 s) ask every
  // other port too, so no other device is asked more often than every 10 s.
  const Lines every = {"Open COM3", "Open COM1", "Open COM2", "Open COM4", "Open COM5",
                       "Open COM6", "Open COM7", "Open COM8", "Open COM9", "Open COM12"};
  Lines expected = {"Open COM3", "Open COM3"};
  expected.insert(expected.end(), every.begin(), every.end());
  expected.insert(expected.end(), {"Open COM3", "Open COM3", "Open COM3", "Open COM3"});
  expected.insert(expected.end(), every.begin(), every.end());
  expected.insert(expected.end(), {"Open COM3", "Open COM3", "Open COM3"});
  EXPECT_EQ(bus.Entries("Open"), expected);
  EXPECT_TRUE(recovery.Active());
  EXPECT_EQ(recovery.PortName(), "COM3");
}

TEST_F(DeviceRecoveryTest, BackOnAnotherPortItIsTakenThereAndKeptForTheNextLoss) {
  // COM3 now belongs to another program; another device answers on COM6; the
  // controller is on COM9 and on COM12 (the lower number wins, although "COM12"
  // sorts first as text).
  bus.Port("COM3").opens = false;
  bus.Port("COM6").replies = {"MODEM OK 1234\r"};
  bus.Port("COM9").replies = {"AIRCAP 3D V2.1\r"};
  bus.Port("COM12").replies = {"AIRCAP 3D V2.1\r"};
  bus.systemPorts = {"COM12", "COM9"};
  const PortHandle port = RunUntil(30'000);
  ASSERT_NE(port, kInvalidPort);
  EXPECT_EQ(bus.NameOf(port), "COM9");
  EXPECT_EQ(recovery.PortName(), "COM9");
  // The third try, at 16 s: a second of power, init, version, then the start-up
  // commands on COM9 only.
  EXPECT_EQ(now, 17'800u);
  EXPECT_EQ(bus.sent["COM9"], "\rz\rvQ\rn?\rq00\rpAA\rm3\rc33\rb9\r");
  EXPECT_EQ(bus.sent["COM6"], "\rz\rvQ\r");
  EXPECT_EQ(bus.sent["COM12"], "\rz\rvQ\r");
  EXPECT_EQ(bus.openHandles, 1);
  EXPECT_EQ(bus.openEvents, 0);

  // Lost again: its own port is now COM9.
  recovery.Begin(recovery.PortName(), now);
  bus.log.clear();
  RunUntil(now + 2000);
  EXPECT_EQ(bus.Entries("Open"), (Lines{"Open COM9"}));
}

TEST_F(DeviceRecoveryTest, APortThatAppearsIsAskedAtOnce) {
  bus.Port("COM3").opens = false;
  bus.Port("COM14").replies = {"ASTROLAB 3D\r"};
  recovery.PortArrived("COM14", 10'500);  // before the first try: due at once
  EXPECT_EQ(recovery.DueIn(10'500), 0u);
  now = 10'500;
  const PortHandle port = RunUntil(20'000);
  ASSERT_NE(port, kInvalidPort);
  EXPECT_EQ(bus.NameOf(port), "COM14");
  EXPECT_EQ(bus.Entries("Open"), (Lines{"Open COM3", "Open COM14"}));
  EXPECT_EQ(now, 12'300u);  // 1 s of power, init, version, six commands

  // Not recovering: an arrival changes nothing. Its own port appearing brings
  // the next try forward, asking only that port; the try after is as usual.
  recovery.PortArrived("COM5", now);
  EXPECT_FALSE(recovery.Active());
  bus.Port("COM14").opens = false;
  recovery.Begin("COM14", 20'000);
  now = 20'000;
  bus.log.clear();
  recovery.PortArrived("com14", 20'300);
  EXPECT_EQ(recovery.DueIn(20'300), 0u);
  now = 20'300;
  RunUntil(22'400);
  EXPECT_EQ(bus.Entries("Open"), (Lines{"Open COM14", "Open COM14"}));  // at 20.3 and 22.3 s
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
