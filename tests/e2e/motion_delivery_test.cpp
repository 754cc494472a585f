// Motion end to end: the simulated controller sends motion lines, the driver
// decodes and shapes them with the settings it loaded from the registry, and the
// test client receives exactly the words that the shaping computes from the raw
// axes (worked out here from the client header's packing).
#include <gmock/gmock.h>

#include <thread>

#include "client/astrolab_client.h"
#include "tests/e2e/client_fixture.h"

namespace e2e {
namespace {

using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

struct Sample {
  sim::Axes axes;
  bool longForm;
};

std::vector<std::string> Lines(const std::vector<Sample>& samples) {
  std::vector<std::string> lines;
  for (const Sample& sample : samples) {
    lines.push_back(sample.longForm ? sim::LongMotionLine(sample.axes)
                                    : sim::ShortMotionLine(sample.axes));
  }
  return lines;
}

std::vector<MotionWords> Expected(const std::vector<Sample>& samples, const Shaping& shaping) {
  std::vector<MotionWords> words;
  for (const Sample& sample : samples) {
    if (const auto expected = ExpectedMotion(sample.axes, shaping)) words.push_back(*expected);
  }
  return words;
}

class MotionDeliveryTest : public ClientTest {};

TEST_F(MotionDeliveryTest, ShortAndLongPacketsArriveAsShapedAndPacked) {
  StartDriverAndClient({}, Shaping(), 0);
  if (HasFatalFailure()) return;
  const std::vector<Sample> samples = {
      {{100, -200, 300, -400, 500, -6}, false},
      {{-1, 1, -1, 1, -1, 1}, false},
      {{1000, -1000, 500, -500, 1023, -512}, true},
      // Beyond the fields: clamped to -1024..1023 and -512..511.
      {{2047, -2048, 2047, -2048, 1500, -1500}, false},
      {{32767, -32768, 5000, -5000, 30000, -30000}, true},
      {{5000, 0, 0, 0, 0, 0}, true},
      // The device at rest: one all-zero sample.
      {{0, 0, 0, 0, 0, 0}, false},
  };
  const std::vector<MotionWords> received = SendAndCollect(Lines(samples));
  EXPECT_THAT(received, ElementsAreArray(Expected(samples, shaping_)));

  // Spot checks against the protocol's own figures.
  ASSERT_EQ(received.size(), samples.size());
  std::int32_t axes[6];
  AstrolabUnpackMotion(received[4].wParam, received[4].lParam, axes);
  EXPECT_THAT(axes, ElementsAreArray({1023, -1024, 511, -1024, 1023, -512}));
  AstrolabUnpackMotion(received[5].wParam, received[5].lParam, axes);
  EXPECT_EQ(axes[0], 1023);
  EXPECT_EQ(received[6], (MotionWords{0, 0}));
}

TEST_F(MotionDeliveryTest, ABurstOfPacketsInOneWriteArrivesWholeAndInOrder) {
  StartDriverAndClient({}, Shaping(), 0);
  if (HasFatalFailure()) return;
  // 300 packets, short and long in turn, in one write of several kilobytes: far
  // more than the 256-byte receive buffer, so packets are cut between reads.
  std::vector<Sample> samples;
  for (int i = 0; i < 300; ++i) {
    const int v = i + 1;
    samples.push_back({{v, -v, v % 500, -2 * v, 3 * (v % 300), -(v % 7)}, i % 2 == 1});
  }
  std::string burst;
  for (const std::string& line : Lines(samples)) burst += line;
  ASSERT_GT(burst.size(), 4000u);
  const std::vector<MotionWords> received = SendAndCollect({burst});
  ASSERT_EQ(received.size(), samples.size());
  EXPECT_THAT(received, ElementsAreArray(Expected(samples, Shaping())));
  // Spot checks worked by hand: the first and the last packet unpacked.
  std::int32_t axes[6];
  AstrolabUnpackMotion(received.front().wParam, received.front().lParam, axes);
  EXPECT_THAT(axes, ElementsAreArray({1, -1, 1, -2, 3, -1}));
  AstrolabUnpackMotion(received.back().wParam, received.back().lParam, axes);
  EXPECT_THAT(axes, ElementsAreArray({300, -300, 300, -600, 0, -6}));
}

TEST_F(MotionDeliveryTest, PacketWithAWrongChecksumDeliversNothing) {
  StartDriverAndClient({}, Shaping(), 0);
  if (HasFatalFailure()) return;
  EXPECT_THAT(SendAndCollect({sim::ShortMotionLine({10, 20, 30, 40, 50, 60}, true)}), IsEmpty());
}

TEST_F(MotionDeliveryTest, NullZoneFromTheRegistryDropsSamplesInsideIt) {
  Shaping shaping;
  shaping.nullRadius = 10;
  StartDriverAndClient({{"NullRadius", "10"}}, shaping, 0);
  if (HasFatalFailure()) return;

  // Inside the zone on every axis but not at rest: nothing is sent.
  const std::vector<Sample> inside = {{{5, -10, 10, 0, -3, 7}, false},
                                      {{10, 10, 10, 10, 10, 10}, true}};
  ASSERT_THAT(Expected(inside, shaping), IsEmpty());
  EXPECT_THAT(SendAndCollect(Lines(inside)), IsEmpty());

  // Outside it the values move toward 0 by the radius; a raw rest is still sent.
  const std::vector<Sample> outside = {{{15, -10, -11, 0, 11, -15}, false},
                                       {{0, 0, 0, 0, 0, 0}, false}};
  const std::vector<MotionWords> received = SendAndCollect(Lines(outside));
  EXPECT_THAT(received, ElementsAreArray(Expected(outside, shaping)));
  ASSERT_EQ(received.size(), 2u);
  std::int32_t axes[6];
  AstrolabUnpackMotion(received[0].wParam, received[0].lParam, axes);
  EXPECT_THAT(axes, ElementsAreArray({5, 0, -1, 0, 1, -5}));
  EXPECT_EQ(received[1], (MotionWords{0, 0}));
}

TEST_F(MotionDeliveryTest, ScalingFromTheRegistryIsApplied) {
  Shaping shaping;
  shaping.scale[0] = 0.5;
  shaping.enabled[1] = 0;
  StartDriverAndClient({{"Scaling X", "1 +0.5000"}, {"Scaling Y", "0 +1.0000"}}, shaping, 0);
  if (HasFatalFailure()) return;
  const std::vector<Sample> samples = {
      {{3, 500, 7, 1, 2, 3}, false},
      {{-3, -500, 0, 0, 0, 0}, false},
      {{2047, 2047, 0, 0, 0, 0}, false},
      {{30000, 1, 0, 0, 0, 0}, true},
  };
  const std::vector<MotionWords> received = SendAndCollect(Lines(samples));
  EXPECT_THAT(received, ElementsAreArray(Expected(samples, shaping)));
  ASSERT_EQ(received.size(), samples.size());
  std::int32_t axes[6];
  AstrolabUnpackMotion(received[0].wParam, received[0].lParam, axes);
  EXPECT_THAT(axes, ElementsAreArray({1, 0, 7, 1, 2, 3}));
  AstrolabUnpackMotion(received[1].wParam, received[1].lParam, axes);
  EXPECT_EQ(axes[0], -1);
  AstrolabUnpackMotion(received[2].wParam, received[2].lParam, axes);
  EXPECT_EQ(axes[0], 1023);
}

TEST_F(MotionDeliveryTest, WhenTheTargetWindowIsGoneTheNewestLiveClientGetsTheSample) {
  StartDriverAndClient({}, Shaping(), 0);
  if (HasFatalFailure()) return;
  ChildProcess* first = client_;

  // A second client takes over as the target.
  std::string error;
  ChildProcess* second =
      session_.StartWindowsProgram("test_client.exe", {"--title", "Second client"}, &error);
  ASSERT_NE(second, nullptr) << error;
  ASSERT_TRUE(second->WaitForLineStartingWith("READY ", kReplyTimeout).has_value());
  const auto marker = ExpectedMotion(kMarker, shaping_);
  bool reached = false;
  for (int attempt = 0; attempt < 15 && !reached; ++attempt) {
    ASSERT_TRUE(controller_->SendRaw(sim::ShortMotionLine(kMarker)));
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    for (const ClientEvent& event : ClientEvents(*second, ASTROLAB_MOTION_EVENT)) {
      reached = reached || WordsOf(event) == marker;
    }
  }
  ASSERT_TRUE(reached) << "the second client never became the target";

  // Its window goes with its process; the next sample's post fails and the
  // first client, the newest one left with a title, receives that very sample.
  second->Kill();
  const auto deadline = Clock::now() + kReplyTimeout;
  while (session_.Probe({"find-window", "AstrolabTestClient", "Second client"}).Succeeded()) {
    ASSERT_LT(Clock::now(), deadline) << "the second client's window stays";
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  client_ = first;
  const std::vector<Sample> samples = {{{12, 34, 56, -78, -90, 12}, false},
                                       {{-5, 4, -3, 2, -1, 0}, false}};
  EXPECT_THAT(SendAndCollect(Lines(samples)), ElementsAreArray(Expected(samples, shaping_)));
}

}  // namespace
}  // namespace e2e
