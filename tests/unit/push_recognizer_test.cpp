// The Hintview push gesture: entry arithmetic, the wedge, the weighting, the log
// lines and the state machine across movements of the cap.
#include "delivery/push_recognizer.h"

#include <gtest/gtest.h>

#include <array>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace astro::testing {
namespace {

using Sample = std::array<std::int32_t, kAxisCount>;  // X Y Z A B C

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

// Worked samples. 0.865 * 200 = 173, * 400 = 346 and * 500 = 432.5 are exact in
// double, so every figure below is plain decimal arithmetic.
//
// kWeak: F = 60 <= 80, so no point of action and s = 0.
const Sample kWeak = {0, -60, 0, 0, 0, 0};
// kPress100: t = (0, -100, 0), r = (-173, 0, 20). F = 100, F^2 = 10000.
//   px = (ty*rz - tz*ry)/F^2 = (-100*20 - 0)/10000 = -0.2
//   pz = (tx*ry - ty*rx)/F^2 = (0 - (-100)(-173))/10000 = -1.73
//   d1 = (10/23*(-0.2) + 1.73 + 3/23)/1.0904 = 1.626 > 0
//   d2 = (10/29*0.2 + 1.73 - 3/29)/1.0578 = 1.603 > 0, so w = 1
//   s = -1 * (-100)/100 = 1: a pure -Y force inside the wedge.
const Sample kPress100 = {0, -100, 0, -200, 0, 20};
// kSlant200: t = (0, -120, 160), r = (-346, 0, 100). F = sqrt(14400 + 25600) = 200.
//   px = (-120*100 - 160*0)/40000 = -0.3
//   py = (tz*rx - tx*rz)/F^2 = (160*(-346) - 0)/40000 = -1.384
//   pz = (0 - (-120)(-346))/40000 = -1.038
//   d1 = (-0.1304 + 1.038 + 0.1304)/1.0904 > 0, d2 = (0.1034 + 1.038 - 0.1034)/1.0578 > 0
//   s = 120/200 = 0.6. M = sqrt(346^2 + 100^2) = sqrt(129716) = 360.1611
const Sample kSlant200 = {0, -120, 160, -400, 0, 100};
// kSteep200: t = (0, -160, 120), r = (-346, 0, 100). F = 200.
//   px = -160*100/40000 = -0.4, pz = -(160*346)/40000 = -1.384, inside: s = 0.8
const Sample kSteep200 = {0, -160, 120, -400, 0, 100};
// kPress250: t = (0, -250, 0), r = (-432.5, 0, 50). px = -12500/62500 = -0.2,
//   pz = -108125/62500 = -1.73 (as kPress100): s = 1.
const Sample kPress250 = {0, -250, 0, -500, 0, 50};
// kPress200: px = -200*40/40000 = -0.2, pz = -200*346/40000 = -1.73: s = 1.
const Sample kPress200 = {0, -200, 0, -400, 0, 40};
// The same places pulled along +Y: px = +0.2, pz = -1.73, inside; s = -1.
const Sample kPull100 = {0, 100, 0, 200, 0, 20};
const Sample kPull200 = {0, 200, 0, 400, 0, 40};
const Sample kRest = {0, 0, 0, 0, 0, 0};

const std::string kZeroLine2 =
    "2   +0   +0   +0   +0   +0   +0       0      0  +0.000 +0.000 +0.000  +0.000 \n";
const std::string kZeroLine3 =
    "3   +0   +0   +0   +0   +0   +0       0      0  +0.000 +0.000 +0.000  +0.000 \n";

PushEntry EntryOf(const Sample& sample) {
  PushEntry entry;
  StorePushSample(sample.data(), entry);
  ComputePushEntry(entry);
  return entry;
}

// Entries that only carry a force, for the growth count and first strong entry.
std::array<PushEntry, kPushEntryCount> Forces(double f0, double f1, double f2, double f3) {
  std::array<PushEntry, kPushEntryCount> entries;
  const double forces[kPushEntryCount] = {f0, f1, f2, f3};
  for (int k = 0; k < kPushEntryCount; ++k) entries[k].field[kPushForce] = forces[k];
  return entries;
}

TEST(PushEntryTest, StoresTheSlantedAxesWeighted) {
  PushEntry entry;
  entry.field[kPushScore] = 7.0;  // not touched by storing
  const Sample sample = {1000, -2, 3, -2000, 5, -6};
  StorePushSample(sample.data(), entry);
  EXPECT_NEAR(entry.field[kPushTx], 865.0, 1e-9);
  EXPECT_EQ(entry.field[kPushTy], -2.0);
  EXPECT_EQ(entry.field[kPushTz], 3.0);
  EXPECT_NEAR(entry.field[kPushRx], -1730.0, 1e-9);
  EXPECT_EQ(entry.field[kPushRy], 5.0);
  EXPECT_EQ(entry.field[kPushRz], -6.0);
  EXPECT_EQ(entry.field[kPushScore], 7.0);
}

TEST(PushEntryTest, PureMinusYForceInsideTheWedgeScoresOne) {
  const PushEntry entry = EntryOf(kPress100);
  EXPECT_DOUBLE_EQ(entry.field[kPushForce], 100.0);
  EXPECT_NEAR(entry.field[kPushTorque], std::sqrt(173.0 * 173.0 + 20.0 * 20.0), 1e-9);
  EXPECT_NEAR(entry.field[kPushPx], -0.2, 1e-12);
  EXPECT_EQ(entry.field[kPushPy], 0.0);
  EXPECT_NEAR(entry.field[kPushPz], -1.73, 1e-12);
  EXPECT_EQ(entry.field[kPushScore], 1.0);
}

TEST(PushEntryTest, SlantedForceScoresItsShareAlongMinusY) {
  const PushEntry entry = EntryOf(kSlant200);
  EXPECT_DOUBLE_EQ(entry.field[kPushForce], 200.0);
  EXPECT_NEAR(entry.field[kPushTorque], 360.1611, 1e-4);
  EXPECT_NEAR(entry.field[kPushPx], -0.3, 1e-12);
  EXPECT_NEAR(entry.field[kPushPy], -1.384, 1e-12);
  EXPECT_NEAR(entry.field[kPushPz], -1.038, 1e-12);
  EXPECT_NEAR(entry.field[kPushScore], 0.6, 1e-15);
  EXPECT_NEAR(EntryOf(kSteep200).field[kPushScore], 0.8, 1e-15);
  EXPECT_NEAR(EntryOf(kPull100).field[kPushScore], -1.0, 1e-15);
}

TEST(PushEntryTest, ForceOfEightyOrLessHasNoPointOfAction) {
  // Same torque as kPress100; only the force decides.
  const PushEntry weak = EntryOf({0, -80, 0, -200, 0, 20});
  EXPECT_DOUBLE_EQ(weak.field[kPushForce], 80.0);
  EXPECT_GT(weak.field[kPushTorque], 174.0);
  EXPECT_EQ(weak.field[kPushPx], 0.0);
  EXPECT_EQ(weak.field[kPushPy], 0.0);
  EXPECT_EQ(weak.field[kPushPz], 0.0);
  EXPECT_EQ(weak.field[kPushScore], 0.0);
  // F = 81: px = -81*20/6561 = -0.247, pz = -81*173/6561 = -2.136, inside.
  const PushEntry strong = EntryOf({0, -81, 0, -200, 0, 20});
  EXPECT_NEAR(strong.field[kPushPx], -1620.0 / 6561.0, 1e-12);
  EXPECT_NEAR(strong.field[kPushPz], -14013.0 / 6561.0, 1e-12);
  EXPECT_EQ(strong.field[kPushScore], 1.0);
}

TEST(PushEntryTest, PushThroughTheCentreFallsOutsideTheWedge) {
  // No torque: p = (0, 0, 0), where d2 = -(3/29)/sqrt(1 + (10/29)^2) = -3/sqrt(941)
  // = -0.098, beyond the band.
  const PushEntry entry = EntryOf({0, -100, 0, 0, 0, 0});
  EXPECT_DOUBLE_EQ(entry.field[kPushForce], 100.0);
  EXPECT_EQ(entry.field[kPushScore], 0.0);
}

TEST(WedgeTest, FalloffIsLinearAcrossTheBand) {
  EXPECT_EQ(WedgeFalloff(0.5), 1.0);
  EXPECT_EQ(WedgeFalloff(1e-12), 1.0);
  EXPECT_EQ(WedgeFalloff(0.0), 1.0);
  EXPECT_NEAR(WedgeFalloff(-0.005), 0.8, 1e-12);
  EXPECT_NEAR(WedgeFalloff(-0.0125), 0.5, 1e-12);
  EXPECT_NEAR(WedgeFalloff(-0.02), 0.2, 1e-12);
  EXPECT_NEAR(WedgeFalloff(-0.025), 0.0, 1e-12);
  EXPECT_EQ(WedgeFalloff(-0.0251), 0.0);
  EXPECT_EQ(WedgeFalloff(-3.0), 0.0);
}

// The wedge lies below the lines pz = (10/23)(px + 0.3) and pz = -(10/29)(px + 0.3).
// Points are placed at a known distance outside one line, far inside the other.
TEST(WedgeTest, WeightFallsWithDistanceOutsideEitherEdge) {
  const double slope1 = 10.0 / 23.0;
  const double slope2 = 10.0 / 29.0;
  const double norm1 = std::sqrt(1 + slope1 * slope1);
  const double norm2 = std::sqrt(1 + slope2 * slope2);
  const double outside[] = {-0.01, 0.0, 0.005, 0.0125, 0.02, 0.025, 0.03};
  const double weight[] = {1.0, 1.0, 0.8, 0.5, 0.2, 0.0, 0.0};
  for (int i = 0; i < 7; ++i) {
    const double delta = outside[i];
    // Second edge at px = 1, stepping along its outward normal (10/29, 1).
    const double px2 = 1.0 + delta * slope2 / norm2;
    const double pz2 = -slope2 * 1.3 + delta / norm2;
    EXPECT_NEAR(WedgeWeight(px2, pz2), weight[i], 1e-9) << "second edge, " << delta;
    // First edge at px = -1, stepping along its outward normal (-10/23, 1).
    const double px1 = -1.0 - delta * slope1 / norm1;
    const double pz1 = slope1 * -0.7 + delta / norm1;
    EXPECT_NEAR(WedgeWeight(px1, pz1), weight[i], 1e-9) << "first edge, " << delta;
  }
}

TEST(WedgeTest, WeightsOfBothBandsMultiply) {
  // Straight above the apex (-0.3, 0) by h = 0.01: outside the first edge by
  // h/norm1 and the second by h/norm2.
  const double norm1 = std::sqrt(1 + 100.0 / 529.0);              // 1.0904
  const double norm2 = std::sqrt(1 + 100.0 / 841.0);              // 1.0578
  const double expected = (1 - 0.4 / norm1) * (1 - 0.4 / norm2);  // 0.633 * 0.622
  EXPECT_NEAR(WedgeWeight(-0.3, 0.01), expected, 1e-9);
  EXPECT_NEAR(expected, 0.3937, 1e-4);
  EXPECT_NEAR(WedgeWeight(-0.3, 0.0), 1.0, 1e-9);
  EXPECT_EQ(WedgeWeight(-0.3, -1.0), 1.0);
}

TEST(JudgementIndexTest, GrowthCountStopsAtTheFirstStepBelowEightyPercent) {
  EXPECT_EQ(PushGrowthCount(Forces(10, 20, 30, 40).data()), 3);
  // 1.25 * 80 = 100 is not above 100: the force fell to 80 %, which stops the count.
  EXPECT_EQ(PushGrowthCount(Forces(100, 80, 200, 300).data()), 0);
  // 1.25 * 81 = 101.25 > 100 goes on; 1.25 * 64 = 80 <= 81 stops.
  EXPECT_EQ(PushGrowthCount(Forces(100, 81, 64, 0).data()), 1);
  // 1.25 * 65 = 81.25 > 81 goes on; 0 stops.
  EXPECT_EQ(PushGrowthCount(Forces(100, 81, 65, 0).data()), 2);
  // A steady force keeps above 80 %.
  EXPECT_EQ(PushGrowthCount(Forces(50, 50, 50, 50).data()), 3);
  EXPECT_EQ(PushGrowthCount(Forces(0, 0, 0, 0).data()), 0);
}

TEST(JudgementIndexTest, FirstStrongEntryIsTheFirstForceAboveEighty) {
  EXPECT_EQ(FirstStrongEntry(Forces(81, 0, 0, 0).data()), 0);
  EXPECT_EQ(FirstStrongEntry(Forces(80, 80, 80.5, 500).data()), 2);
  EXPECT_EQ(FirstStrongEntry(Forces(0, 10, 20, 90).data()), 3);
  EXPECT_EQ(FirstStrongEntry(Forces(80, 80, 80, 80).data()), 4);
}

// Scores 10^6, 10^4, 100 and 1 spell out each cell's weights in the digits of R.
TEST(JudgementIndexTest, WeightingTableCells) {
  const double score[kPushEntryCount] = {1e6, 1e4, 100, 1};
  const double expected[4][5] = {
      {104040.1, 208000, 80.2, 10.9, 0},
      {307000, 10000, 0, 0, 0},
      {105040, 5050, 80.2, 1, 0},
      {104030.2, 3040.3, 40.6, 1, 0},
  };
  for (int g = 0; g < 4; ++g) {
    for (int f = 0; f < 5; ++f) {
      EXPECT_NEAR(PushResult(g, f, score), expected[g][f], 1e-6) << "g " << g << " f " << f;
    }
  }
}

TEST(JudgementIndexTest, PushNeedsMoreThanEightyFiveHundredths) {
  EXPECT_FALSE(IsPushResult(0.85));
  EXPECT_TRUE(IsPushResult(std::nextafter(0.85, 1.0)));
  EXPECT_FALSE(IsPushResult(0.84));
  EXPECT_TRUE(IsPushResult(1.0));
  EXPECT_FALSE(IsPushResult(-1.0));
}

TEST(PushLogLineTest, EntryAndResultLinesAsPrinted) {
  EXPECT_EQ(PushEntryLine(2, EntryOf(kSlant200)),
            "2   +0 -120 +160 -346   +0 +100     200    360  -0.300 -1.384 -1.038  +0.600 \n");
  EXPECT_EQ(PushEntryLine(0, EntryOf(kWeak)),
            "0   +0  -60   +0   +0   +0   +0      60      0  +0.000 +0.000 +0.000  +0.000 \n");
  EXPECT_EQ(PushEntryLine(3, PushEntry()), kZeroLine3);
  EXPECT_EQ(PushResultLine(0.84, 3, 1), "Result = +0.840 3 1 \n\n");
  EXPECT_EQ(PushResultLine(-1.0, 1, 0), "Result = -1.000 1 0 \n\n");
}

TEST(PushLogLineTest, ExtremeFieldsAreNeverCut) {
  PushEntry entry;
  for (double& field : entry.field) field = -DBL_MAX;
  entry.field[kPushScore] = 1.0;
  const std::string line = PushEntryLine(1, entry);
  // Each of the eleven huge fields prints 310 characters.
  EXPECT_GT(line.size(), 11u * 310u);
  EXPECT_EQ(line.compare(0, 24, "1 -179769313486231570814"), 0) << line.substr(0, 40);
  EXPECT_EQ(line.substr(line.size() - 10), "  +1.000 \n");
  const std::string result = PushResultLine(DBL_MAX, 3, 4);
  EXPECT_GT(result.size(), 309u);
  EXPECT_EQ(result.substr(0, 20), "Result = +1797693134");
  EXPECT_EQ(result.substr(result.size() - 11), ".000 3 4 \n\n");
}

struct RecordingButton : HintviewButton {
  int presses = 0;
  int releases = 0;
  void HintviewPress() override { ++presses; }
  void HintviewRelease() override { ++releases; }
};

struct RecordingLog : PushLog {
  std::vector<std::string> lines;
  void AppendLine(const std::string& line) override { lines.push_back(line); }
};

class PushRecognizerTest : public ::testing::Test {
 protected:
  int Offer(const Sample& sample) { return recognizer.PushRecognizer(sample.data()); }

  // Answers to a run of samples, in order.
  std::vector<int> OfferAll(const std::vector<Sample>& samples) {
    std::vector<int> answers;
    for (const Sample& sample : samples) answers.push_back(Offer(sample));
    return answers;
  }

  RecordingButton button;
  RecordingLog log;
  PushGestureRecognizer recognizer{button, log};
};

TEST_F(PushRecognizerTest, QuietSamplesPassAndChangeNothing) {
  // |3| + |-2| + |1| + |-4| = 10 is still quiet; 11 is not.
  const Sample quiet = {3, -2, 1, 0, -4, 0};
  const Sample barely = {3, -2, 1, 0, -4, 1};
  EXPECT_EQ(OfferAll({kRest, quiet, quiet, kRest}), (std::vector<int>{0, 0, 0, 0}));
  EXPECT_TRUE(log.lines.empty());
  EXPECT_EQ(button.presses, 0);
  EXPECT_EQ(button.releases, 0);
  // The movement that follows is collected from its first sample.
  EXPECT_EQ(OfferAll({barely, barely, barely, barely}), (std::vector<int>{2, 2, 2, 2}));
  EXPECT_TRUE(log.lines.empty());
}

TEST_F(PushRecognizerTest, WeakMovementIsJudgedAtItsFifthSampleWithoutPush) {
  const Sample weak = {0, -50, 0, 0, 0, 0};  // F = 50 every time
  EXPECT_EQ(OfferAll({weak, weak, weak, weak}), (std::vector<int>{2, 2, 2, 2}));
  EXPECT_TRUE(log.lines.empty());
  EXPECT_EQ(Offer(weak), 0);
  ASSERT_EQ(log.lines.size(), 5u);
  EXPECT_EQ(log.lines[3],
            "3   +0  -50   +0   +0   +0   +0      50      0  +0.000 +0.000 +0.000  +0.000 \n");
  // A steady force keeps growing (g = 3), nothing is strong (f = 4): R = 0.
  EXPECT_EQ(log.lines[4], "Result = +0.000 3 4 \n\n");
  // Motion flows until the next rest, which starts a new collection.
  EXPECT_EQ(OfferAll({kPress250, weak, kRest, weak}), (std::vector<int>{0, 0, 0, 2}));
  EXPECT_EQ(log.lines.size(), 5u);
  EXPECT_EQ(button.presses, 0);
  EXPECT_EQ(button.releases, 0);
}

TEST_F(PushRecognizerTest, ShortMovementIsJudgedAtTheRestSample) {
  EXPECT_EQ(OfferAll({kPull100, kPull200}), (std::vector<int>{2, 2}));
  EXPECT_EQ(Offer(kRest), 0);
  ASSERT_EQ(log.lines.size(), 5u);
  EXPECT_EQ(log.lines[2], kZeroLine2);
  EXPECT_EQ(log.lines[3], kZeroLine3);
  // F = 100, 200, 0, 0: 1.25 * 200 > 100 counts, 1.25 * 0 <= 200 stops: g = 1.
  // f = 0. R = 0.3 * (-1) + 0.7 * (-1) = -1.
  EXPECT_EQ(log.lines[4], "Result = -1.000 1 0 \n\n");
  EXPECT_EQ(button.presses, 0);
  // The sample that judged left the count past 4: a movement straight after it
  // flows; the next rest clears the state.
  EXPECT_EQ(OfferAll({kPress100, kRest, kPress100}), (std::vector<int>{0, 0, 2}));
  EXPECT_EQ(log.lines.size(), 5u);
}

TEST_F(PushRecognizerTest, SingleSampleMovementIsJudgedToo) {
  EXPECT_EQ(Offer(kPress250), 2);
  EXPECT_EQ(Offer(kRest), 0);
  ASSERT_EQ(log.lines.size(), 5u);
  // F = 250, 0, 0, 0: g = 0, f = 0; R = 0.1 * 1 and nothing from the empty entries.
  EXPECT_EQ(log.lines[4], "Result = +0.100 0 0 \n\n");
  EXPECT_EQ(button.presses, 0);
}

TEST_F(PushRecognizerTest, NearMissAtTheFifthSample) {
  // F = 60, 100, 200, 250: every step keeps above 80 % (125 > 60, 250 > 100,
  // 312.5 > 200), g = 3; the first force above 80 is entry 1, f = 1.
  // R = 0.3 s1 + 0.4 s2 + 0.3 s3 = 0.3 * 1 + 0.4 * 0.6 + 0.3 * 1 = 0.84.
  EXPECT_EQ(OfferAll({kWeak, kPress100, kSlant200, kPress250}), (std::vector<int>{2, 2, 2, 2}));
  EXPECT_EQ(Offer(kPress250), 0);
  ASSERT_EQ(log.lines.size(), 5u);
  EXPECT_EQ(log.lines[0],
            "0   +0  -60   +0   +0   +0   +0      60      0  +0.000 +0.000 +0.000  +0.000 \n");
  EXPECT_EQ(log.lines[2],
            "2   +0 -120 +160 -346   +0 +100     200    360  -0.300 -1.384 -1.038  +0.600 \n");
  EXPECT_EQ(log.lines[4], "Result = +0.840 3 1 \n\n");
  EXPECT_EQ(button.presses, 0);
}

TEST_F(PushRecognizerTest, RecognisedPushIsHeldUntilRest) {
  // As the near miss, with s2 = 0.8: R = 0.3 + 0.32 + 0.3 = 0.92 > 0.85.
  EXPECT_EQ(OfferAll({kWeak, kPress100, kSteep200, kPress250}), (std::vector<int>{2, 2, 2, 2}));
  EXPECT_EQ(button.presses, 0);
  EXPECT_EQ(Offer(kPress250), 1);
  EXPECT_EQ(button.presses, 1);
  ASSERT_EQ(log.lines.size(), 5u);
  EXPECT_EQ(log.lines[4], "Result = +0.920 3 1 \n\n");
  EXPECT_EQ(OfferAll({kPress250, kPull100, kWeak}), (std::vector<int>{3, 3, 3}));
  EXPECT_EQ(button.presses, 1);
  EXPECT_EQ(button.releases, 0);
  EXPECT_EQ(Offer(kRest), 0);
  EXPECT_EQ(button.releases, 1);
  EXPECT_EQ(Offer(kRest), 0);
  EXPECT_EQ(button.releases, 1);
  EXPECT_EQ(log.lines.size(), 5u);
  // The release cleared the buffer: a two-sample movement now has zero entries 2, 3.
  EXPECT_EQ(OfferAll({kPull100, kPull200, kRest}), (std::vector<int>{2, 2, 0}));
  ASSERT_EQ(log.lines.size(), 10u);
  EXPECT_EQ(log.lines[7], kZeroLine2);
  EXPECT_EQ(log.lines[8], kZeroLine3);
}

TEST_F(PushRecognizerTest, ShortPushIsReleasedAtTheFollowingRest) {
  // F = 100, 200, 0, 0: g = 1, f = 0, R = 0.3 * 1 + 0.7 * 1 = 1.
  EXPECT_EQ(OfferAll({kPress100, kPress200}), (std::vector<int>{2, 2}));
  EXPECT_EQ(Offer(kRest), 1);
  EXPECT_EQ(button.presses, 1);
  EXPECT_EQ(button.releases, 0);
  ASSERT_EQ(log.lines.size(), 5u);
  EXPECT_EQ(log.lines[4], "Result = +1.000 1 0 \n\n");
  EXPECT_EQ(Offer(kPress100), 3);
  EXPECT_EQ(Offer(kRest), 0);
  EXPECT_EQ(button.presses, 1);
  EXPECT_EQ(button.releases, 1);
  // Back at rest: the next movement is collected again.
  EXPECT_EQ(Offer(kPress100), 2);
}

TEST_F(PushRecognizerTest, ExtremeValuesNeitherOverflowNorLookQuiet) {
  // In 32 bits |INT32_MIN| and these sums overflow (and could wrap into "quiet").
  const Sample lowest = {kMin, 0, 0, 0, 0, 0};
  const Sample highest = {kMax, kMax, kMax, kMax, kMax, kMax};
  const Sample mixed = {kMin, kMax, kMin, kMin, kMax, kMin};
  EXPECT_EQ(OfferAll({lowest, highest, mixed, mixed}), (std::vector<int>{2, 2, 2, 2}));
  const int judged = Offer(mixed);
  EXPECT_TRUE(judged == 0 || judged == 1) << judged;
  ASSERT_EQ(log.lines.size(), 5u);
  // X = INT32_MIN: tx = -0.865 * 2^31 = -1857573355.52, printed whole.
  EXPECT_EQ(log.lines[0].compare(0, 13, "0 -1857573356"), 0) << log.lines[0];
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(log.lines[k][0], '0' + k);
    EXPECT_EQ(log.lines[k].substr(log.lines[k].size() - 2), " \n");
  }
  EXPECT_EQ(log.lines[4].compare(0, 9, "Result = "), 0);
}

}  // namespace
}  // namespace astro::testing
