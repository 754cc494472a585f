// The running driver's main loop end to end: reports from the controller reach
// the line decoder however the bytes are split, and over-long lines are dropped.
// A write that must be read apart from the next one ends in a report the driver
// answers: once the answer is on the wire, the write has been read.
#include <gmock/gmock.h>

#include "tests/e2e/driver_fixture.h"

namespace e2e {
namespace {

using ::testing::ElementsAre;

class MainLoopTest : public RunningDriverTest {
 protected:
  // Writes an n report the driver answers with "n?", then the bytes, in one
  // write, and waits for the answer.
  void WriteAndSeeItRead(const std::string& bytes) {
    const std::size_t answers = controller_->Commands().size();
    ASSERT_TRUE(controller_->SendRaw("nA\r" + bytes));
    ASSERT_TRUE(controller_->WaitForCommands(answers + 1, kReplyTimeout));
    ASSERT_EQ(CommandLines(*controller_).back(), "n?");
  }
};

TEST_F(MainLoopTest, DifferingQReportIsAnsweredWithTheQCommand) {
  ASSERT_TRUE(controller_->SendRaw("q01\r"));
  ASSERT_TRUE(controller_->WaitForCommand("q00", kReplyTimeout));
  EXPECT_THAT(CommandLines(*controller_), ElementsAre("q00"));
}

TEST_F(MainLoopTest, TwoLinesInOneWriteAreBothHandledInOrder) {
  // A differing n report is answered with the n command.
  ASSERT_TRUE(controller_->SendRaw("q01\rnA\r"));
  ASSERT_TRUE(controller_->WaitForCommands(2, kReplyTimeout));
  EXPECT_THAT(CommandLines(*controller_), ElementsAre("q00", "n?"));
}

TEST_F(MainLoopTest, LineSplitOverTwoReadsIsHandled) {
  ASSERT_NO_FATAL_FAILURE(WriteAndSeeItRead("q0"));
  ASSERT_TRUE(controller_->SendRaw("1\r"));
  ASSERT_TRUE(controller_->WaitForCommand("q00", kReplyTimeout));
  EXPECT_THAT(CommandLines(*controller_), ElementsAre("n?", "q00"));
}

TEST_F(MainLoopTest, PartialLineOf129CharactersIsDiscarded) {
  // Kept, this would become the line "q01xx...x" and be answered with "q00".
  ASSERT_NO_FATAL_FAILURE(WriteAndSeeItRead("q01" + std::string(126, 'x')));
  // The n report behind shows that the rest has been read too.
  ASSERT_TRUE(controller_->SendRaw("\rnA\r"));
  ASSERT_TRUE(controller_->WaitForCommands(2, kReplyTimeout));
  EXPECT_THAT(CommandLines(*controller_), ElementsAre("n?", "n?"));

  // The next valid line still works.
  ASSERT_TRUE(controller_->SendRaw("q01\r"));
  ASSERT_TRUE(controller_->WaitForCommand("q00", kReplyTimeout));
  EXPECT_THAT(CommandLines(*controller_), ElementsAre("n?", "n?", "q00"));
}

TEST_F(MainLoopTest, PartialLineOf128CharactersIsCompletedByTheNextRead) {
  ASSERT_NO_FATAL_FAILURE(WriteAndSeeItRead("q01" + std::string(125, 'x')));
  ASSERT_TRUE(controller_->SendRaw("\r"));
  ASSERT_TRUE(controller_->WaitForCommand("q00", kReplyTimeout));
  EXPECT_THAT(CommandLines(*controller_), ElementsAre("n?", "q00"));
}

}  // namespace
}  // namespace e2e
