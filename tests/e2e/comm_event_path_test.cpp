// The main loop's other way of waiting, the one Windows ports take: it sleeps on
// the port's "carriage return received" event and reads only what is queued. Under
// Wine reads would pend, so the way is asked for at start-up through the
// environment. Motion must arrive exactly, a line split over two reads must be
// put together, and a message that arrives with a line is handled first.
#include <gmock/gmock.h>

#include "client/astrolab_client.h"
#include "tests/e2e/client_fixture.h"

namespace e2e {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

class CommEventPathTest : public ClientTest {
 protected:
  void SetUp() override {
    ClientTest::SetUp();
    session_.SetEnvironment("ASTRODRIVER_COMM_EVENT_WAIT", "1");
  }

  bool Send(std::uint32_t code, std::int64_t argument) {
    return session_.Probe({"send-command", std::to_string(code), std::to_string(argument)})
        .Succeeded();
  }
  std::size_t Count(const std::string& command) const {
    std::size_t count = 0;
    for (const std::string& line : CommandLines(*controller_)) count += line == command;
    return count;
  }
  // Writes a q report the driver always answers with the bytes behind it, in one
  // write, and waits for the answer: the driver has then read that write.
  void WriteAndSeeItRead(const std::string& bytes) {
    const std::size_t answers = Count("q00");
    ASSERT_TRUE(controller_->SendRaw("q01\r" + bytes));
    const auto deadline = Clock::now() + kReplyTimeout;
    while (Count("q00") <= answers) {
      ASSERT_LT(Clock::now(), deadline) << "no answer to the q report";
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
};

TEST_F(CommEventPathTest, MotionArrivesExactly) {
  StartDriverAndClient({}, Shaping(), 0);
  if (HasFatalFailure()) return;
  const std::vector<sim::Axes> samples = {
      {1, -2, 3, -4, 5, -6}, {1023, -1024, 511, -512, 0, 100}, {0, 0, 0, 0, 0, 0}};
  std::vector<std::string> lines;
  std::vector<MotionWords> expected;
  for (const sim::Axes& axes : samples) {
    lines.push_back(sim::ShortMotionLine(axes));
    lines.push_back(sim::LongMotionLine(axes));
    expected.push_back(*ExpectedMotion(axes, Shaping()));
    expected.push_back(*ExpectedMotion(axes, Shaping()));
  }
  EXPECT_THAT(SendAndCollect(lines), ElementsAreArray(expected));
}

TEST_F(CommEventPathTest, ALineSplitOverTwoReadsIsPutTogether) {
  StartDriverAndClient({}, Shaping(), 0);
  if (HasFatalFailure()) return;
  const sim::Axes axes = {300, -200, 100, 50, -25, 12};
  const std::string line = sim::LongMotionLine(axes);
  // The first half goes behind a report the driver answers: once the answer is on
  // the wire, the half has been read, and the rest can only come in a later read.
  ASSERT_NO_FATAL_FAILURE(WriteAndSeeItRead(line.substr(0, 7)));
  EXPECT_THAT(SendAndCollect({line.substr(7)}), ElementsAre(*ExpectedMotion(axes, Shaping())));
}

TEST_F(CommEventPathTest, AMessageThatArrivesWithALineIsHandledFirst) {
  StartDriverAndClient({}, Shaping(), 0);
  if (HasFatalFailure()) return;
  ASSERT_TRUE(Send(CmdSetModeChangeable, 1));  // the device's mode reports win
  controller_->ClearRecord();                  // start-up sent "m3" already
  // A long beep keeps the driver busy once its command is on the wire: the
  // message and the line below are both waiting when it is done.
  ASSERT_TRUE(Send(CmdBeep, 1751));
  ASSERT_TRUE(controller_->WaitForCommand("b?", kReplyTimeout));
  ASSERT_TRUE(Send(CmdSetModeChangeable, 0));  // now the driver's mode wins
  ASSERT_TRUE(controller_->SendRaw("mA\r"));
  // Handled first, the message makes the driver put its own mode back.
  EXPECT_TRUE(controller_->WaitForCommand("m3", kReplyTimeout));
}

}  // namespace
}  // namespace e2e
