// The "CommandEvent" codes a client or the panel sends the driver.
#include "delivery/client_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "client/astrolab_client.h"
#include "tests/unit/delivery_fixture.h"

namespace astro::testing {
namespace {

// Records the commands' effects in order: "send BYTES", "sleep MS", "menu 0|1",
// "minimise", "bytitle CODE L".
class FakeCommandPlatform : public CommandPlatform {
 public:
  std::vector<std::string> log;
  void SendDeviceBytes(const char* bytes, std::size_t length) override {
    log.push_back("send " + std::string(bytes, length));
  }
  void Sleep(unsigned milliseconds) override {
    log.push_back("sleep " + std::to_string(milliseconds));
  }
  void EnablePanelMenuItem(bool enable) override { log.push_back(enable ? "menu 1" : "menu 0"); }
  void MinimiseMainWindow() override { log.push_back("minimise"); }
  void PostToPanelByTitle(std::uint32_t code, std::intptr_t lParam) override {
    log.push_back("bytitle " + std::to_string(code) + " " + std::to_string(lParam));
  }
};

class ClientCommandTest : public DeliveryFixture {
 protected:
  CommandAnswer Handle(std::uintptr_t code, std::intptr_t argument) {
    return HandleClientCommand(scope, commands, code, argument);
  }
  FakeCommandPlatform commands;
};

TEST_F(ClientCommandTest, MouseModeKeepsTheLowByte) {
  EXPECT_EQ(Handle(CmdSetMouseMode, 0x1234), CommandAnswer::kDefault);
  EXPECT_EQ(flags.mouseMode, 0x34);
  Handle(CmdSetMouseMode, -1);
  EXPECT_EQ(flags.mouseMode, 0xFF);
  EXPECT_TRUE(commands.log.empty());
}

TEST_F(ClientCommandTest, DivisorsComeFromTheTwoHalvesAndZeroKeepsTheOldOne) {
  Handle(CmdSetMouseDivisors, 3 * 65536 + 20);
  EXPECT_EQ(flags.mouseDivisor[0], 20);
  EXPECT_EQ(flags.mouseDivisor[1], 3);
  Handle(CmdSetMouseDivisors, 7 * 65536);  // first divisor 0
  EXPECT_EQ(flags.mouseDivisor[0], 20);
  EXPECT_EQ(flags.mouseDivisor[1], 7);
  Handle(CmdSetMouseDivisors, 0);
  EXPECT_EQ(flags.mouseDivisor[0], 20);
  EXPECT_EQ(flags.mouseDivisor[1], 7);
  Handle(CmdSetMouseDivisors, static_cast<std::intptr_t>(0xFFFFFFFFu));  // unsigned halves
  EXPECT_EQ(flags.mouseDivisor[0], 65535);
  EXPECT_EQ(flags.mouseDivisor[1], 65535);
}

TEST_F(ClientCommandTest, BeepDurationBands) {
  struct Case {
    std::int32_t ms;
    const char* command;
    const char* sleep;
  };
  const Case cases[] = {
      {-2147483647 - 1, "b H\r", "sleep 32"},
      {-5, "b H\r", "sleep 32"},
      {0, "b H\r", "sleep 32"},
      {48, "b H\r", "sleep 32"},
      {49, "b 9\r", "sleep 64"},
      {94, "b 9\r", "sleep 64"},
      {95, "b :\r", "sleep 125"},
      {187, "b :\r", "sleep 125"},
      {188, "b K\r", "sleep 250"},
      {375, "b K\r", "sleep 250"},
      {376, "b <\r", "sleep 500"},
      {750, "b <\r", "sleep 500"},
      {751, "b M\r", "sleep 1000"},
      {1250, "b M\r", "sleep 1000"},
      {1251, "b N\r", "sleep 1500"},
      {1750, "b N\r", "sleep 1500"},
      {1751, "b ?\r", "sleep 2000"},
      {2147483647, "b ?\r", "sleep 2000"},
  };
  for (const Case& c : cases) {
    commands.log.clear();
    Handle(CmdBeep, c.ms);
    std::string expected = c.command;
    expected.erase(1, 1);  // the blank only separates the letters for reading
    EXPECT_EQ(commands.log, (std::vector<std::string>{"send " + expected, c.sleep})) << c.ms;
  }
}

TEST_F(ClientCommandTest, BeepReadsItsArgumentAsSigned32Bits) {
  // 0xFFFFFFFF as a 64-bit lParam is -1 in 32 bits: the shortest beep.
  Handle(CmdBeep, static_cast<std::intptr_t>(0xFFFFFFFFu));
  EXPECT_EQ(commands.log, (std::vector<std::string>{"send bH\r", "sleep 32"}));
}

TEST_F(ClientCommandTest, DeviceCommandWritesUpToTheFirstZeroThenWaits) {
  Handle(CmdDeviceCommand, (122 << 24) | (13 << 16));
  EXPECT_EQ(commands.log, (std::vector<std::string>{"send z\r", "sleep 100"}));
  commands.log.clear();
  Handle(CmdDeviceCommand, static_cast<std::intptr_t>(AstrolabDeviceCommandWord("c3\xFF\r")));
  EXPECT_EQ(commands.log, (std::vector<std::string>{"send c3\xFF\r", "sleep 100"}));
  commands.log.clear();
  Handle(CmdDeviceCommand, 0x6D000D00);  // "m", then a zero byte ends it
  EXPECT_EQ(commands.log, (std::vector<std::string>{"send m", "sleep 100"}));
  commands.log.clear();
  Handle(CmdDeviceCommand, 0);
  EXPECT_EQ(commands.log, std::vector<std::string>{"sleep 100"});
}

TEST_F(ClientCommandTest, ModeAndNChangeable) {
  settings.modeChangeable = 1;
  Handle(CmdSetModeChangeable, 0);
  EXPECT_EQ(settings.modeChangeable, 0);
  Handle(CmdSetModeChangeable, 1);
  EXPECT_EQ(settings.modeChangeable, 1);
  Handle(CmdSetNChangeable, 1);
  EXPECT_EQ(flags.nAdoptFlag, 1);
  Handle(CmdSetNChangeable, 0);
  EXPECT_EQ(flags.nAdoptFlag, 0);
}

TEST_F(ClientCommandTest, EnablePanelMenuGreysOrEnablesThenMinimisesAndAnswersZero) {
  EXPECT_EQ(Handle(CmdEnablePanelMenu, 0), CommandAnswer::kZero);
  EXPECT_EQ(Handle(CmdEnablePanelMenu, 5), CommandAnswer::kZero);
  EXPECT_EQ(commands.log, (std::vector<std::string>{"menu 0", "minimise", "menu 1", "minimise"}));
}

TEST_F(ClientCommandTest, SensitivityGoesToThePanelFoundByTitle) {
  const auto word = static_cast<std::intptr_t>(AstrolabSensitivityWord(2.0f));
  Handle(CmdReportSensitivity, word);
  EXPECT_EQ(commands.log, std::vector<std::string>{"bytitle 27696 " + std::to_string(word)});
}

TEST_F(ClientCommandTest, SetClientWindowRegistersTheClient) {
  AddWindow(500);
  platform.panel = 77;
  AddWindow(77);
  EXPECT_EQ(Handle(CmdSetClientWindow, 500), CommandAnswer::kDefault);
  EXPECT_EQ(context.targetWindow, 500u);
  EXPECT_TRUE(clients.Contains(500));
  ASSERT_EQ(platform.posts.size(), 1u);
  EXPECT_EQ(platform.posts[0].window, 77u);
  Handle(CmdSetClientWindow, static_cast<std::intptr_t>(kOwnWindow));
  EXPECT_EQ(context.targetWindow, 500u);
  EXPECT_EQ(platform.posts.size(), 1u);
}

TEST_F(ClientCommandTest, UnknownCodesAndTheReservedOneDoNothing) {
  const RuntimeFlags flagsBefore = flags;
  const SettingsRecord settingsBefore = settings;
  for (std::uintptr_t code :
       {std::uintptr_t{27698}, std::uintptr_t{0}, std::uintptr_t{27599}, std::uintptr_t{27703},
        std::uintptr_t{17633}, (std::uintptr_t{1} << 20) + 27600}) {
    EXPECT_EQ(Handle(code, 12345), CommandAnswer::kDefault) << code;
  }
  EXPECT_TRUE(commands.log.empty());
  EXPECT_TRUE(platform.log.empty());
  EXPECT_EQ(std::memcmp(&flags, &flagsBefore, sizeof flags), 0);
  EXPECT_EQ(std::memcmp(&settings, &settingsBefore, sizeof settings), 0);
  EXPECT_EQ(context.targetWindow, kOwnWindow);
}

TEST(BeepForDurationTest, BandEdges) {
  EXPECT_EQ(BeepForDuration(48).character, 'H');
  EXPECT_EQ(BeepForDuration(49).character, '9');
  EXPECT_EQ(BeepForDuration(1751).sleepMilliseconds, 2000u);
}

}  // namespace
}  // namespace astro::testing
