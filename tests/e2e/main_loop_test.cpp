// The running driver's main loop end to end: reports from the controller reach
// the line decoder however the bytes are split, and over-long lines are dropped.
#include <gmock/gmock.h>

#include <thread>

#include "tests/e2e/driver_fixture.h"

namespace e2e {
namespace {

using ::testing::ElementsAre;
using namespace std::chrono_literals;

// Long enough for the driver to have read what was written before, so that the
// next write cannot arrive in the same read.
constexpr auto kSettle = 700ms;

using MainLoopTest = RunningDriverTest;

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

TEST_F(MainLoopTest, LineSplitOverTwoWritesIsHandled) {
  ASSERT_TRUE(controller_->SendRaw("q0"));
  std::this_thread::sleep_for(kSettle);
  ASSERT_TRUE(controller_->SendRaw("1\r"));
  ASSERT_TRUE(controller_->WaitForCommand("q00", kReplyTimeout));
  EXPECT_THAT(CommandLines(*controller_), ElementsAre("q00"));
}

TEST_F(MainLoopTest, PartialLineOf129CharactersIsDiscarded) {
  // Kept, this would become the line "q01xx...x" and be answered with "q00".
  ASSERT_TRUE(controller_->SendRaw("q01" + std::string(126, 'x')));
  std::this_thread::sleep_for(kSettle);
  ASSERT_TRUE(controller_->SendRaw("\rnA\r"));
  ASSERT_TRUE(controller_->WaitForCommand("n?", kReplyTimeout));
  EXPECT_THAT(CommandLines(*controller_), ElementsAre("n?"));

  // The next valid line still works.
  ASSERT_TRUE(controller_->SendRaw("q01\r"));
  ASSERT_TRUE(controller_->WaitForCommand("q00", kReplyTimeout));
  EXPECT_THAT(CommandLines(*controller_), ElementsAre("n?", "q00"));
}

TEST_F(MainLoopTest, PartialLineOf128CharactersIsCompletedByTheNextRead) {
  ASSERT_TRUE(controller_->SendRaw("q01" + std::string(125, 'x')));
  std::this_thread::sleep_for(kSettle);
  ASSERT_TRUE(controller_->SendRaw("\r"));
  ASSERT_TRUE(controller_->WaitForCommand("q00", kReplyTimeout));
  EXPECT_THAT(CommandLines(*controller_), ElementsAre("q00"));
}

}  // namespace
}  // namespace e2e
