// "CommandEvent" from a client end to end: the commands that talk to the
// controller put their bytes on the wire, and the mode setting takes effect.
#include <gmock/gmock.h>

#include "client/astrolab_client.h"
#include "tests/e2e/driver_fixture.h"

namespace e2e {
namespace {

using ::testing::ElementsAre;

class CommandEventTest : public RunningDriverTest {
 protected:
  bool Send(std::uint32_t code, std::int64_t argument) {
    return session_.Probe({"send-command", std::to_string(code), std::to_string(argument)})
        .Succeeded();
  }
};

TEST_F(CommandEventTest, BeepsPutTheDurationCharacterOnTheWire) {
  ASSERT_TRUE(Send(CmdBeep, 48));
  ASSERT_TRUE(controller_->WaitForCommand("bH", kReplyTimeout));
  ASSERT_TRUE(Send(CmdBeep, 1751));
  ASSERT_TRUE(controller_->WaitForCommand("b?", kReplyTimeout));
  EXPECT_THAT(CommandLines(*controller_), ElementsAre("bH", "b?"));
  EXPECT_EQ(controller_->ReceivedBytes(), "bH\rb?\r");
}

TEST_F(CommandEventTest, DeviceCommandWritesItsBytesUpToTheFirstZero) {
  const std::uint32_t word = AstrolabDeviceCommandWord("z\r");
  ASSERT_EQ(word, 0x7A0D0000u);
  ASSERT_TRUE(Send(CmdDeviceCommand, word));
  ASSERT_TRUE(controller_->WaitForCommand("z", kReplyTimeout));
  // A four-byte command is written whole.
  ASSERT_TRUE(Send(CmdDeviceCommand, AstrolabDeviceCommandWord("c3A\r")));
  ASSERT_TRUE(controller_->WaitForCommand("c3A", kReplyTimeout));
  EXPECT_EQ(controller_->ReceivedBytes(), "z\rc3A\r");
}

TEST_F(CommandEventTest, ModeChangeableCommandMakesTheDriverRestoreItsMode) {
  ASSERT_TRUE(Send(CmdSetModeChangeable, 0));
  ASSERT_TRUE(controller_->SendRaw("mA\r"));
  ASSERT_TRUE(controller_->WaitForCommand("m3", kReplyTimeout));
  ASSERT_TRUE(Send(CmdSetModeChangeable, 1));
  // Adopted now: the q report's answer is the only command.
  controller_->ClearRecord();
  ASSERT_TRUE(controller_->SendRaw("mD\rq01\r"));
  ASSERT_TRUE(controller_->WaitForCommand("q00", kReplyTimeout));
  EXPECT_THAT(CommandLines(*controller_), ElementsAre("q00"));
  // The adopted mode is the driver's own now: with the user's mode winning again,
  // another report is answered with it.
  ASSERT_TRUE(Send(CmdSetModeChangeable, 0));
  ASSERT_TRUE(controller_->SendRaw("mA\r"));
  ASSERT_TRUE(controller_->WaitForCommand("mD", kReplyTimeout));
  EXPECT_THAT(CommandLines(*controller_), ElementsAre("q00", "mD"));
}

TEST_F(CommandEventTest, EnablePanelMenuLeavesTheHiddenMainWindowHidden) {
  const std::vector<std::string> state = {"window-state", ASTROLAB_WINDOW_CLASS};
  EXPECT_EQ(session_.Probe(state).Field("VISIBLE"), "0 ICONIC 0");
  for (const int enable : {0, 1, 0}) {
    ASSERT_TRUE(Send(CmdEnablePanelMenu, enable));
    // A beep afterwards is handled after the minimise request the command posted.
    controller_->ClearRecord();
    ASSERT_TRUE(Send(CmdBeep, 10));
    ASSERT_TRUE(controller_->WaitForCommand("bH", kReplyTimeout));
    const ProbeResult result = session_.Probe(state);
    EXPECT_EQ(result.Field("VISIBLE"), "0 ICONIC 0")
        << "after " << enable << ": probe exit code " << result.exitCode << ", "
        << result.lines.size() << " lines";
  }
}

}  // namespace
}  // namespace e2e
