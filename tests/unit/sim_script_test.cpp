// The simulator's script language, its player and its log format.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <future>
#include <string>

#include "sim/command_log.h"
#include "sim/line_text.h"
#include "sim/script.h"
#include "sim/script_player.h"

namespace {

using namespace std::chrono_literals;
using Kind = sim::ScriptStep::Kind;

std::string ParseError(const std::string& text) {
  const sim::ParsedScript script = sim::ParseScript(text);
  EXPECT_FALSE(script.ok) << text;
  return script.error;
}

TEST(SimScriptParse, EachCommandBecomesItsStep) {
  const sim::ParsedScript script = sim::ParseScript(
      "# start-up\n"
      "wait-command b9 5000\n"
      "wait 20   # a pause\n"
      "motion 1 -2 3 -4 5 -2048\n"
      "motion-bad 0 0 0 0 0 0\n"
      "long -32768 32767 0 0 0 1\n"
      "buttons 0x801\n"
      "buttons 3\n"
      "mode 3\n"
      "longmode 3 1\n"
      "n 15\n"
      "q 0 1\n"
      "raw 0d 00 41ff\n"
      "sweep 1000 20 500 100 200 300 400 500 2047\n"
      "\n"
      "exit\n");
  ASSERT_TRUE(script.ok) << script.error;
  ASSERT_EQ(script.steps.size(), 14u);
  const auto& s = script.steps;
  EXPECT_EQ(s[0].kind, Kind::kWaitCommand);
  EXPECT_EQ(s[0].bytes, "b9");
  EXPECT_EQ(s[0].milliseconds, 5000);
  EXPECT_EQ(s[0].lineNumber, 2);
  EXPECT_EQ(s[1].kind, Kind::kWait);
  EXPECT_EQ(s[1].milliseconds, 20);
  EXPECT_EQ(s[2].bytes, sim::ShortMotionLine({1, -2, 3, -4, 5, -2048}));
  EXPECT_EQ(s[3].bytes, sim::ShortMotionLine({0, 0, 0, 0, 0, 0}, true));
  EXPECT_EQ(s[4].bytes, sim::LongMotionLine({-32768, 32767, 0, 0, 0, 1}));
  EXPECT_EQ(s[5].bytes, sim::ButtonLine(0x801));
  EXPECT_EQ(s[6].bytes, sim::ButtonLine(3));
  EXPECT_EQ(s[7].bytes, "m3\r");
  EXPECT_EQ(s[8].bytes, "c3A\r");
  EXPECT_EQ(s[9].bytes, "n?\r");
  EXPECT_EQ(s[10].bytes, "q0A\r");
  EXPECT_EQ(s[11].bytes, std::string("\r\0A\xFF", 4));
  for (int i = 2; i <= 11; ++i) EXPECT_EQ(s[i].kind, Kind::kSend) << i;
  EXPECT_EQ(s[12].kind, Kind::kSweep);
  EXPECT_EQ(s[12].sweep.durationMs, 1000);
  EXPECT_EQ(s[12].sweep.intervalMs, 20);
  EXPECT_EQ(s[12].sweep.periodMs, 500);
  EXPECT_EQ(s[12].sweep.amplitudes, (sim::Axes{100, 200, 300, 400, 500, 2047}));
  EXPECT_EQ(s[13].kind, Kind::kExit);
  EXPECT_EQ(s[13].lineNumber, 16);
}

TEST(SimScriptParse, WaitCommandTextMayBeQuotedAndEscaped) {
  const sim::ParsedScript script =
      sim::ParseScript("wait-command \"\"\nwait-command \"a b\\\"\" 7\nwait-command m\\x00 1\n");
  ASSERT_TRUE(script.ok) << script.error;
  ASSERT_EQ(script.steps.size(), 3u);
  EXPECT_EQ(script.steps[0].bytes, "");
  EXPECT_EQ(script.steps[0].milliseconds, 60000);  // the default time-out
  EXPECT_EQ(script.steps[1].bytes, "a b\"");
  EXPECT_EQ(script.steps[1].milliseconds, 7);
  EXPECT_EQ(script.steps[2].bytes, std::string("m\0", 2));
}

TEST(SimScriptParse, RepeatBlocksNest) {
  const sim::ParsedScript script =
      sim::ParseScript("repeat 3\n  buttons 1\n  repeat 2\n    wait 5\n  end\nend\nbuttons 0\n");
  ASSERT_TRUE(script.ok) << script.error;
  ASSERT_EQ(script.steps.size(), 2u);
  const sim::ScriptStep& outer = script.steps[0];
  EXPECT_EQ(outer.kind, Kind::kRepeat);
  EXPECT_EQ(outer.count, 3);
  ASSERT_EQ(outer.body.size(), 2u);
  EXPECT_EQ(outer.body[1].kind, Kind::kRepeat);
  EXPECT_EQ(outer.body[1].count, 2);
  ASSERT_EQ(outer.body[1].body.size(), 1u);
  EXPECT_EQ(outer.body[1].body[0].kind, Kind::kWait);
  EXPECT_EQ(script.steps[1].bytes, sim::ButtonLine(0));
}

std::string NestedRepeats(int depth) {
  std::string text;
  for (int i = 0; i < depth; ++i) text += "repeat 2\n";
  text += "wait 1\n";
  for (int i = 0; i < depth; ++i) text += "end\n";
  return text;
}

TEST(SimScriptParse, RepeatBlocksNestAtMostAHundredDeep) {
  const sim::ParsedScript deepest = sim::ParseScript(NestedRepeats(100));
  ASSERT_TRUE(deepest.ok) << deepest.error;
  const std::vector<sim::ScriptStep>* steps = &deepest.steps;
  for (int level = 1; level <= 100; ++level) {
    ASSERT_EQ(steps->size(), 1u) << level;
    ASSERT_EQ((*steps)[0].kind, Kind::kRepeat) << level;
    EXPECT_EQ((*steps)[0].lineNumber, level);
    steps = &(*steps)[0].body;
  }
  ASSERT_EQ(steps->size(), 1u);
  EXPECT_EQ((*steps)[0].kind, Kind::kWait);
  EXPECT_EQ((*steps)[0].lineNumber, 101);

  EXPECT_EQ(ParseError(NestedRepeats(101)), "line 101: repeat blocks nest at most 100 deep");
  // Nesting this deep used to overflow the stack.
  EXPECT_EQ(ParseError(NestedRepeats(200000)), "line 101: repeat blocks nest at most 100 deep");
}

TEST(SimScriptParse, ErrorsNameTheLine) {
  EXPECT_EQ(ParseError("wait 1\nfly 3\n"), "line 2: unknown command fly");
  EXPECT_EQ(ParseError("motion 0 0 0 0 0 2048\n"), "line 1: 2048 is outside -2048..2047");
  EXPECT_EQ(ParseError("long 0 0 0 0 0 -32769\n"), "line 1: -32769 is outside -32768..32767");
  EXPECT_EQ(ParseError("buttons 0x1000\n"), "line 1: 0x1000 is outside 0..4095");
  EXPECT_EQ(ParseError("mode 16\n"), "line 1: 16 is outside 0..15");
  EXPECT_EQ(ParseError("\nmotion 1 2 3\n"), "line 2: motion takes 6 argument(s)");
  EXPECT_EQ(ParseError("wait ten\n"), "line 1: not a number: ten");
  EXPECT_EQ(ParseError("wait 12x\n"), "line 1: not a number: 12x");
  EXPECT_EQ(ParseError("raw 0d0\n"), "line 1: raw needs whole bytes");
  EXPECT_EQ(ParseError("raw 0g\n"), "line 1: not hexadecimal: 0g");
  EXPECT_EQ(ParseError("wait 1\nrepeat 2\nwait 1\n"), "line 2: repeat without end");
  EXPECT_EQ(ParseError("end\n"), "line 1: end without repeat");
  EXPECT_EQ(ParseError("wait-command \"b9\n"), "line 1: missing closing quote");
  EXPECT_EQ(ParseError("wait-command b\\q\n"), "line 1: bad escape in b\\q");
  EXPECT_EQ(ParseError("sweep 100 0 10 1 1 1 1 1 1\n"), "line 1: 0 is outside 1..86400000");
}

TEST(SimSweep, SamplesFollowShiftedSines) {
  const sim::SweepSpec sweep{1000, 25, 500, {1000, 1000, 1000, 2047, 0, 500}};
  const sim::Axes first = sim::SweepSample(sweep, 0);
  EXPECT_EQ(first[0], 0);
  EXPECT_EQ(first[1], 866);                        // sin(60 degrees)
  EXPECT_EQ(first[3], 0);                          // sin(180 degrees)
  EXPECT_EQ(first[4], 0);                          // amplitude 0
  EXPECT_EQ(sim::SweepSample(sweep, 5)[0], 1000);  // 5 x 25 ms is a quarter period
  EXPECT_EQ(sim::SweepSample(sweep, 20), first);   // one period later
  for (long i = 0; i < 40; ++i) {
    const sim::Axes sample = sim::SweepSample(sweep, i);
    for (std::size_t axis = 0; axis < sample.size(); ++axis) {
      EXPECT_LE(std::abs(sample[axis]), sweep.amplitudes[axis]);
    }
  }
}

TEST(SimLineText, EscapeAndUnescapeAreInverse) {
  std::string everyByte;
  for (int i = 0; i < 256; ++i) everyByte.push_back(static_cast<char>(i));
  const std::string escaped = sim::EscapeLine(everyByte);
  for (char c : escaped) EXPECT_TRUE(c >= 0x20 && c < 0x7F);
  std::string back;
  ASSERT_TRUE(sim::UnescapeText(escaped, back));
  EXPECT_EQ(back, everyByte);
  EXPECT_EQ(sim::EscapeLine(std::string("\0z\"\\\xB4", 5)), "\\x00z\\\"\\\\\\xB4");
  EXPECT_FALSE(sim::UnescapeText("\\x4", back));
  EXPECT_FALSE(sim::UnescapeText("abc\\", back));
}

TEST(SimCommandLog, FormatsTimeAndEscapedLine) {
  const auto start = sim::Clock::now();
  const sim::ReceivedCommand command{std::string("n?\0", 3), start + 1234ms};
  EXPECT_EQ(sim::FormatReceivedCommand(command, start), "RECV 1234 \"n?\\x00\"");
  EXPECT_EQ(sim::FormatReceivedCommand({"", start}, start), "RECV 0 \"\"");
}

// The driver's end of the pty for the player tests.
class Port {
 public:
  explicit Port(const std::string& path) : fd_(open(path.c_str(), O_RDWR | O_NOCTTY)) {
    termios settings{};
    tcgetattr(fd_, &settings);
    cfmakeraw(&settings);
    tcsetattr(fd_, TCSANOW, &settings);
  }
  ~Port() { close(fd_); }
  void Write(const std::string& text) {
    ASSERT_EQ(write(fd_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
  }
  std::string ReadUntil(char terminator) {
    std::string text;
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while ((text.empty() || text.back() != terminator) &&
           std::chrono::steady_clock::now() < deadline) {
      pollfd fds = {fd_, POLLIN, 0};
      char c;
      if (poll(&fds, 1, 100) > 0 && read(fd_, &c, 1) == 1) text.push_back(c);
    }
    return text;
  }

 private:
  int fd_;
};

class SimScriptPlayer : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(controller_.Start()); }

  std::future<sim::ScriptPlayer::Outcome> PlayInBackground(const std::string& text) {
    script_ = sim::ParseScript(text);
    EXPECT_TRUE(script_.ok) << script_.error;
    return std::async(std::launch::async, [this] { return player_.Play(script_.steps); });
  }

  sim::SimulatedController controller_;
  sim::ScriptPlayer player_{controller_};
  sim::ParsedScript script_;
};

TEST_F(SimScriptPlayer, WaitsForTheCommandThenSendsAndStopsAtExit) {
  Port port(controller_.SlavePath());
  auto outcome = PlayInBackground(
      "wait-command b9 30000\nrepeat 2\nbuttons 1\nend\nmotion 0 0 0 0 0 0\nexit\nbuttons 2\n");
  port.Write("\rz\rb9\r");
  ASSERT_EQ(outcome.get(), sim::ScriptPlayer::Outcome::kExit) << player_.Error();
  ASSERT_TRUE(controller_.SendRaw("#"));  // whatever the script sent lies before this
  EXPECT_EQ(port.ReadUntil('#'), "kA00\rkA00\r" + sim::ShortMotionLine({0, 0, 0, 0, 0, 0}) + "#");
}

TEST_F(SimScriptPlayer, EachWaitCommandNeedsAFreshLine) {
  Port port(controller_.SlavePath());
  auto outcome = PlayInBackground("wait-command q00 30000\nraw 41\nwait-command q00 300\nraw 42\n");
  port.Write("q00\r");
  EXPECT_EQ(port.ReadUntil('A'), "A");
  // The first q00 was used up: the second wait times out instead of matching it.
  ASSERT_EQ(outcome.get(), sim::ScriptPlayer::Outcome::kFailed);
  EXPECT_EQ(player_.Error(), "line 3: wait-command \"q00\": not received within 300 ms");
}

TEST_F(SimScriptPlayer, SecondOccurrenceSatisfiesTheSecondWait) {
  Port port(controller_.SlavePath());
  auto outcome =
      PlayInBackground("wait-command q00 30000\nraw 41\nwait-command q00 30000\nraw 42\n");
  port.Write("q00\r");
  EXPECT_EQ(port.ReadUntil('A'), "A");
  port.Write("q01\rq00\r");
  EXPECT_EQ(port.ReadUntil('B'), "B");
  EXPECT_EQ(outcome.get(), sim::ScriptPlayer::Outcome::kFinished);
}

TEST_F(SimScriptPlayer, SweepSendsItsSamplesInOrder) {
  Port port(controller_.SlavePath());
  auto outcome = PlayInBackground("sweep 60 20 80 100 200 300 400 500 600\nraw 23\n");
  ASSERT_EQ(outcome.get(), sim::ScriptPlayer::Outcome::kFinished);
  const sim::SweepSpec sweep{60, 20, 80, {100, 200, 300, 400, 500, 600}};
  EXPECT_EQ(port.ReadUntil('#'), sim::ShortMotionLine(sim::SweepSample(sweep, 0)) +
                                     sim::ShortMotionLine(sim::SweepSample(sweep, 1)) +
                                     sim::ShortMotionLine(sim::SweepSample(sweep, 2)) + "#");
}

TEST_F(SimScriptPlayer, RequestStopEndsALongWait) {
  auto outcome = PlayInBackground("wait 600000\nbuttons 1\n");
  player_.RequestStop();
  EXPECT_EQ(outcome.get(), sim::ScriptPlayer::Outcome::kStopped);
}

}  // namespace
