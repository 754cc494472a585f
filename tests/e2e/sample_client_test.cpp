// The plug-in authors' sample client against the running driver: it registers,
// turns mouse emulation off, prints the six axes of every sample and every
// button change exactly as sent, and ends by itself after its seconds; without a
// driver it ends at once with exit code 1.
#include <gmock/gmock.h>

#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/driver_fixture.h"
#include "tests/e2e/harness_paths.h"

namespace e2e {
namespace {

using ::testing::ElementsAre;

constexpr char kProgram[] = "sample_client.exe";
constexpr int kSeconds = 25;

// Samples that nothing else here looks like, in range, so the default shaping
// (no null zone, factor 1) leaves them as they are.
constexpr sim::Axes kMarker = {777, -666, 333, -222, 111, -99};
constexpr char kMarkerLine[] = "MOTION 777 -666 333 -222 111 -99";
constexpr sim::Axes kEnd = {-5, 6, -7, 8, -9, 10};
constexpr char kEndLine[] = "MOTION -5 6 -7 8 -9 10";

class SampleClientTest : public RunningDriverTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FileExists(WindowsProgram(kProgram))) << WindowsProgram(kProgram) << " is missing";
    RunningDriverTest::SetUp();
  }

  // Sends a marker until one is printed: the registration is posted, so it takes
  // effect only when the driver's loop gets to it.
  bool WaitUntilSamplesArrive(const ChildProcess& sample) {
    const auto deadline = Clock::now() + kReplyTimeout;
    do {
      if (!controller_->SendRaw(sim::ShortMotionLine(kMarker))) return false;
      const auto isMarker = [](const std::string& line) { return line == kMarkerLine; };
      if (sample.WaitForLine(isMarker, std::chrono::seconds(1))) return true;
    } while (Clock::now() < deadline);
    return false;
  }

  std::optional<std::pair<long, long>> Cursor() {
    const ProbeResult result = session_.Probe({"cursor-pos"});
    std::pair<long, long> point;
    if (!result.Succeeded() || result.lines.empty()) return std::nullopt;
    if (!(std::istringstream(result.lines[0]) >> point.first >> point.second)) return std::nullopt;
    return point;
  }
};

// The lines after the last marker, up to the end sample, without the
// registration notes.
std::vector<std::string> EventsBetweenMarkers(const ChildProcess& sample) {
  std::vector<std::string> events;
  for (const OutputLine& line : sample.Lines()) {
    if (line.text == kMarkerLine) {
      events.clear();
    } else if (line.text == kEndLine) {
      break;
    } else if (line.text != "REGISTERED") {
      events.push_back(line.text);
    }
  }
  return events;
}

TEST_F(SampleClientTest, PrintsEachSampleAndButtonChangeAndEndsAfterItsSeconds) {
  std::string error;
  ChildProcess* sample =
      session_.StartWindowsProgram(kProgram, {"--seconds", std::to_string(kSeconds)}, &error);
  ASSERT_NE(sample, nullptr) << error;
  ASSERT_TRUE(sample->WaitForLineStartingWith("REGISTERED", kStartupTimeout).has_value());
  ASSERT_TRUE(WaitUntilSamplesArrive(*sample)) << "no sample reached the sample client";

  // Under the driver's default mouse mode the first sample below would move the
  // pointer by 100/10 - 500/10 across and 300/10 down; the sample asked for mode 0.
  ASSERT_TRUE(session_.Probe({"set-cursor", "300", "200"}).Succeeded());
  for (const sim::Axes& axes : std::vector<sim::Axes>{{100, -200, 300, -400, 500, -50},
                                                      {1500, -1500, 600, -2000, 2047, -600},
                                                      {-1, 1, -1, 1, -1, 1},
                                                      {0, 0, 0, 0, 0, 0}}) {
    ASSERT_TRUE(controller_->SendRaw(sim::ShortMotionLine(axes)));
  }
  // Buttons 1 and 3 down; 1 up and 11 down; both up. Every change of one report
  // carries the mask after that report.
  for (std::uint32_t mask : {0x005u, 0x404u, 0x000u}) {
    ASSERT_TRUE(controller_->SendRaw(sim::ButtonLine(mask)));
  }
  ASSERT_TRUE(controller_->SendRaw(sim::ShortMotionLine(kEnd)));
  const auto isEnd = [](const std::string& line) { return line == kEndLine; };
  ASSERT_TRUE(sample->WaitForLine(isEnd, kReplyTimeout).has_value());

  EXPECT_THAT(EventsBetweenMarkers(*sample),
              ElementsAre("MOTION 100 -200 300 -400 500 -50",
                          // Clamped to -1024..1023, the third and sixth to -512..511.
                          "MOTION 1023 -1024 511 -1024 1023 -512", "MOTION -1 1 -1 1 -1 1",
                          "MOTION 0 0 0 0 0 0", "PRESS 1 0x005", "PRESS 3 0x005", "RELEASE 1 0x404",
                          "PRESS 11 0x404", "RELEASE 3 0x000", "RELEASE 11 0x000"));
  EXPECT_EQ(Cursor(), std::make_pair(300L, 200L));

  ASSERT_TRUE(sample->Running()) << "ended before its " << kSeconds << " seconds";
  EXPECT_EQ(sample->WaitForExit(std::chrono::seconds(kSeconds) + kExitTimeout), 0);
  EXPECT_GE(Clock::now() - sample->StartTime(), std::chrono::seconds(kSeconds));
}

class SampleClientWithoutDriverTest : public DriverTest {};

TEST_F(SampleClientWithoutDriverTest, EndsAtOnceWithExitCodeOne) {
  ASSERT_TRUE(FileExists(WindowsProgram(kProgram))) << WindowsProgram(kProgram) << " is missing";
  std::string error;
  ChildProcess* sample = session_.StartWindowsProgram(kProgram, {"--seconds", "600"}, &error);
  ASSERT_NE(sample, nullptr) << error;
  EXPECT_EQ(sample->WaitForExit(kExitTimeout + kStartupTimeout), 1);
  for (const OutputLine& line : sample->Lines()) EXPECT_NE(line.text, "REGISTERED");
}

}  // namespace
}  // namespace e2e
