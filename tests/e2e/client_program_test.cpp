// The test client against the running driver: it finds the driver, announces a
// real window, prints READY and its summary, and the driver takes the
// announcement (and a mouse mode) in its stride.
#include <gmock/gmock.h>

#include "tests/e2e/driver_fixture.h"

namespace e2e {
namespace {

using ::testing::ElementsAre;

class ClientProgramTest : public DriverTest {};

TEST_F(ClientProgramTest, TestClientAnnouncesItsWindowAndSummarisesAtTheEnd) {
  ChildProcess* driver = nullptr;
  sim::SimulatedController* controller = StartDriverWithController(&driver);
  ASSERT_NE(controller, nullptr);

  std::string error;
  ChildProcess* client = session_.StartWindowsProgram(
      "test_client.exe", {"--mouse-mode", "0", "--seconds", "6", "--title", "E2E client"}, &error);
  ASSERT_NE(client, nullptr) << error;
  const auto ready = client->WaitForLineStartingWith("READY ", kReplyTimeout);
  ASSERT_TRUE(ready.has_value());
  const std::string window = ready->text.substr(6);
  EXPECT_NE(window, "0");
  // The announced handle is a real top-level window with the given title.
  const ProbeResult found = session_.Probe({"find-window", "AstrolabTestClient", "E2E client"});
  ASSERT_TRUE(found.Succeeded());
  EXPECT_THAT(found.lines, ElementsAre(window));

  EXPECT_EQ(client->WaitForExit(kExitTimeout), 0);
  const std::vector<OutputLine> lines = client->Lines();
  ASSERT_FALSE(lines.empty());
  // A silent controller: nothing to deliver.
  EXPECT_EQ(lines.back().text,
            "SUMMARY MotionEvent=0 ButtonPressEvent=0 ButtonReleaseEvent=0 CommandEvent=0");

  EXPECT_TRUE(driver->Running());
  controller->ClearRecord();
  ASSERT_TRUE(controller->SendRaw("q01\r"));
  EXPECT_TRUE(controller->WaitForCommand("q00", kReplyTimeout));
}

}  // namespace
}  // namespace e2e
