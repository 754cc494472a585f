// The panel's slider arithmetic. Expected figures are worked by hand from the
// exponential and the logarithm (the constants below are e^x to 17 digits), never
// taken from the functions under test.
#include "ui/panel_sliders.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace astro::testing {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// e^x for the positions used below (x = p / 20).
constexpr double kE0p05 = 1.0512710963760241;     // e^0.05, position 1
constexpr double kEm0p05 = 0.95122942450071402;   // e^-0.05, position -1
constexpr double kE0p2 = 1.2214027581601699;      // e^0.2, position 4
constexpr double kE0p3 = 1.3498588075760032;      // e^0.3, position 6
constexpr double kE0p5 = 1.6487212707001282;      // e^0.5, position 10
constexpr double kE1 = 2.7182818284590452;        // e, position 20
constexpr double kEm1 = 0.36787944117144233;      // 1/e, position -20
constexpr double kE2p45 = 11.588346719223392;     // e^2.45, position 49
constexpr double kE2p5 = 12.182493960703473;      // e^2.5, position 50
constexpr double kE2p95 = 19.105953728231651;     // e^2.95, position 59
constexpr double kEm2p45 = 0.086293586499370495;  // e^-2.45, position -49
constexpr double kEm2p5 = 0.082084998623898795;   // e^-2.5, position -50

// The value is computed through powers of two, so allow a few units of rounding.
void ExpectClose(double expected, double actual) {
  EXPECT_NEAR(expected, actual, std::fabs(expected) * 1e-13) << "expected " << expected;
}

std::uint32_t ThumbWParam(int position) {
  // SB_THUMBPOSITION (4) in the low word, the 16-bit position in the high word.
  return (static_cast<std::uint32_t>(position) & 0xFFFFu) << 16 | 4u;
}

TEST(AxisSliderPos, RoundsTwentyLnHalfAwayFromZero) {
  EXPECT_EQ(0, axisSliderPos(1.0));
  // 20 ln v = +-0.5 exactly: away from zero.
  EXPECT_EQ(1, axisSliderPos(std::exp(0.025)));
  EXPECT_EQ(-1, axisSliderPos(std::exp(-0.025)));
  // 20 ln v = +-0.498: towards zero.
  EXPECT_EQ(0, axisSliderPos(std::exp(0.0249)));
  EXPECT_EQ(0, axisSliderPos(std::exp(-0.0249)));
  // 20 ln v = 1.48 and 1.52.
  EXPECT_EQ(1, axisSliderPos(std::exp(0.074)));
  EXPECT_EQ(2, axisSliderPos(std::exp(0.076)));
  // 20 ln 1.3 = 20 * 0.26236 = 5.247.
  EXPECT_EQ(5, axisSliderPos(1.3));
  // 20 ln 12.1825 = 50.00001 and 20 ln 0.082085 = -49.99999966.
  EXPECT_EQ(50, axisSliderPos(12.1825));
  EXPECT_EQ(-50, axisSliderPos(0.082085));
  EXPECT_EQ(50, axisSliderPos(kE2p5));
  EXPECT_EQ(-50, axisSliderPos(kEm2p5));
  // 20 ln 20 = 59.915: beyond the slider, not clamped here.
  EXPECT_EQ(60, axisSliderPos(20.0));
}

TEST(AxisSliderPos, ZeroNegativeAndNonFiniteFactors) {
  EXPECT_EQ(-51, axisSliderPos(0.0));
  EXPECT_EQ(-51, axisSliderPos(-0.0));
  EXPECT_EQ(-50, axisSliderPos(-1.0));
  EXPECT_EQ(-50, axisSliderPos(-1e300));
  EXPECT_EQ(-50, axisSliderPos(kNaN));
  EXPECT_EQ(-50, axisSliderPos(-kInf));
  EXPECT_EQ(50, axisSliderPos(kInf));
  // The extremes of finite doubles stay in range: 20 ln(DBL_MAX) = 14196.
  EXPECT_EQ(14196, axisSliderPos(std::numeric_limits<double>::max()));
  EXPECT_LT(axisSliderPos(std::numeric_limits<double>::denorm_min()), -14000);
}

TEST(AxisSliderShownPosition, ClampsToTheSliderRange) {
  EXPECT_EQ(-50, AxisSliderShownPosition(0.0));
  EXPECT_EQ(-50, AxisSliderShownPosition(-3.0));
  EXPECT_EQ(-50, AxisSliderShownPosition(kNaN));
  EXPECT_EQ(50, AxisSliderShownPosition(kInf));
  EXPECT_EQ(50, AxisSliderShownPosition(20.0));
  EXPECT_EQ(-50, AxisSliderShownPosition(0.001));  // 20 ln 0.001 = -138
  EXPECT_EQ(5, AxisSliderShownPosition(1.3));
  EXPECT_EQ(0, AxisSliderShownPosition(1.0));
}

TEST(AxisSliderValue, IsETheTwentiethOfThePosition) {
  EXPECT_EQ(0.0, axisSliderValue(-51));
  EXPECT_EQ(1.0, axisSliderValue(0));
  ExpectClose(kE1, axisSliderValue(20));
  ExpectClose(kEm1, axisSliderValue(-20));
  ExpectClose(kE0p5, axisSliderValue(10));
  ExpectClose(kE2p5, axisSliderValue(50));
  ExpectClose(kEm2p5, axisSliderValue(-50));
  ExpectClose(12.182493960703473, axisSliderValue(50));
  ExpectClose(0.082084998623898795, axisSliderValue(-50));
}

TEST(AxisSliderValue, EveryShownPositionComesBackAndStepsByEToTheTwentieth) {
  for (int p = -50; p <= 50; ++p) {
    EXPECT_EQ(p, axisSliderPos(axisSliderValue(p))) << p;
    if (p < 50) ExpectClose(kE0p05, axisSliderValue(p + 1) / axisSliderValue(p));
  }
}

TEST(AxisLineSteps, MoveOnePositionFromTheRoundedPosition) {
  ExpectClose(kE0p05, AxisLineRight(1.0));
  ExpectClose(kEm0p05, AxisLineLeft(1.0));
  // 1.3 sits at position 5 (5.247): the steps land on 6 and 4.
  ExpectClose(kE0p3, AxisLineRight(1.3));
  ExpectClose(kE0p2, AxisLineLeft(1.3));
  // A stored 0.0 (position -51) steps right onto -50 and stays on the left.
  ExpectClose(kEm2p5, AxisLineRight(0.0));
  EXPECT_EQ(0.0, AxisLineLeft(0.0));
  // 20.0 sits at 60, beyond the slider: right keeps it, left goes to 59.
  EXPECT_EQ(20.0, AxisLineRight(20.0));
  ExpectClose(kE2p95, AxisLineLeft(20.0));
}

TEST(AxisLineSteps, TheEndsKeepTheFactor) {
  EXPECT_EQ(kE2p5, AxisLineRight(kE2p5));
  EXPECT_EQ(12.1825, AxisLineRight(12.1825));
  EXPECT_EQ(kEm2p5, AxisLineLeft(kEm2p5));
  EXPECT_EQ(0.082085, AxisLineLeft(0.082085));
  ExpectClose(kE2p45, AxisLineLeft(kE2p5));
  ExpectClose(kEm2p45, AxisLineRight(kEm2p5));
}

TEST(AxisLineSteps, NegativeAndNonFiniteFactorsStepFromTheirShownEnd) {
  // Shown at -50: left keeps, right goes to -49.
  EXPECT_EQ(-2.0, AxisLineLeft(-2.0));
  ExpectClose(kEm2p45, AxisLineRight(-2.0));
  EXPECT_TRUE(std::isnan(AxisLineLeft(kNaN)));
  ExpectClose(kEm2p45, AxisLineRight(kNaN));
  // Shown at 50: right keeps, left goes to 49.
  EXPECT_EQ(kInf, AxisLineRight(kInf));
  ExpectClose(kE2p45, AxisLineLeft(kInf));
}

TEST(AxisThumb, GivesTheFactorOfThePosition) {
  ExpectClose(kE0p5, AxisThumb(10));
  ExpectClose(kEm2p5, AxisThumb(-50));
  ExpectClose(kE2p5, AxisThumb(50));
  EXPECT_EQ(1.0, AxisThumb(0));
}

TEST(OverallStepFromFactor, RoundsTheBinaryLogarithm) {
  EXPECT_EQ(0, OverallStepFromFactor(1.0f));
  EXPECT_EQ(1, OverallStepFromFactor(2.0f));
  EXPECT_EQ(-1, OverallStepFromFactor(0.5f));
  EXPECT_EQ(3, OverallStepFromFactor(8.0f));
  // log2 1.41 = 0.4957 -> floor(0.9957) = 0; log2 1.42 = 0.5059 -> floor(1.0059) = 1.
  EXPECT_EQ(0, OverallStepFromFactor(1.41f));
  EXPECT_EQ(1, OverallStepFromFactor(1.42f));
  // log2 0.7 = -0.5146 -> floor(-0.0146) = -1; log2 0.71 = -0.4941 -> floor(0.0059) = 0.
  EXPECT_EQ(-1, OverallStepFromFactor(0.7f));
  EXPECT_EQ(0, OverallStepFromFactor(0.71f));
  // The ends of float: FLT_MAX is just under 2^128, the smallest subnormal 2^-149.
  EXPECT_EQ(128, OverallStepFromFactor(std::numeric_limits<float>::max()));
  EXPECT_EQ(-149, OverallStepFromFactor(std::numeric_limits<float>::denorm_min()));
  EXPECT_EQ(std::numeric_limits<int>::max(),
            OverallStepFromFactor(std::numeric_limits<float>::infinity()));
}

TEST(OverallStepFromFactor, ZeroNegativeAndNaNLeaveTheSlider) {
  EXPECT_FALSE(OverallStepFromFactor(0.0f).has_value());
  EXPECT_FALSE(OverallStepFromFactor(-0.0f).has_value());
  EXPECT_FALSE(OverallStepFromFactor(-1.0f).has_value());
  EXPECT_FALSE(OverallStepFromFactor(-std::numeric_limits<float>::infinity()).has_value());
  EXPECT_FALSE(OverallStepFromFactor(std::numeric_limits<float>::quiet_NaN()).has_value());
}

TEST(OverallThumbButtons, OnePressPerStepTowardTheThumb) {
  EXPECT_EQ((std::vector<int>{6, 6, 6, 6, 6}), OverallThumbButtons(-2, ThumbWParam(3)));
  EXPECT_EQ((std::vector<int>{5, 5, 5, 5, 5}), OverallThumbButtons(3, ThumbWParam(-2)));
  EXPECT_EQ((std::vector<int>{6}), OverallThumbButtons(0, ThumbWParam(1)));
  EXPECT_EQ((std::vector<int>{5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5}),
            OverallThumbButtons(6, ThumbWParam(-6)));
  EXPECT_TRUE(OverallThumbButtons(3, ThumbWParam(3)).empty());
  EXPECT_TRUE(OverallThumbButtons(-6, ThumbWParam(-6)).empty());
  // The high word 0xFFFE is -2, not 65534.
  EXPECT_EQ((std::vector<int>{5, 5}), OverallThumbButtons(0, 0xFFFE0005u));
}

TEST(OverallThumbButtons, ComparesOnlyTheLowWords) {
  // 65539 and 3 share their low 16 bits: nothing to walk.
  EXPECT_TRUE(OverallThumbButtons(65539, ThumbWParam(3)).empty());
  // 65540 walks down to 65539 (low word 3) in one step.
  EXPECT_EQ((std::vector<int>{5}), OverallThumbButtons(65540, ThumbWParam(3)));
}

TEST(NullRadiusSteps, StayWithinZeroToHundred) {
  EXPECT_EQ(49, NullRadiusLineLeft(50));
  EXPECT_EQ(51, NullRadiusLineRight(50));
  EXPECT_EQ(0, NullRadiusLineLeft(1));
  EXPECT_EQ(0, NullRadiusLineLeft(0));
  EXPECT_EQ(100, NullRadiusLineRight(99));
  EXPECT_EQ(100, NullRadiusLineRight(100));
  // Stored outside the range, shown at its end.
  EXPECT_EQ(99, NullRadiusLineLeft(150));
  EXPECT_EQ(100, NullRadiusLineRight(150));
  EXPECT_EQ(0, NullRadiusLineLeft(-5));
  EXPECT_EQ(1, NullRadiusLineRight(-5));
  EXPECT_EQ(0, NullRadiusLineLeft(std::numeric_limits<std::int32_t>::min()));
  EXPECT_EQ(100, NullRadiusLineRight(std::numeric_limits<std::int32_t>::max()));
}

TEST(NullRadiusThumb, TakesTheUnsignedHighWord) {
  EXPECT_EQ(50, NullRadiusThumb(0x00320005u));
  EXPECT_EQ(0, NullRadiusThumb(0x0000FFFFu));
  EXPECT_EQ(65535, NullRadiusThumb(0xFFFF0004u));
}

}  // namespace
}  // namespace astro::testing
