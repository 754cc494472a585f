// One motion sample from the decoder to the client: null zone, scale, clamp, mouse
// emulation, the push gesture hand-off, and the post with its fallback.
#include "delivery/motion_shaping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "client/astrolab_client.h"
#include "delivery/target_selection.h"
#include "tests/unit/delivery_fixture.h"

namespace astro::testing {
namespace {

constexpr WindowHandle kClient = 500;

class MotionTest : public DeliveryFixture {
 protected:
  MotionTest() {
    flags.mouseMode = 0;  // most cases look at the message alone
    AddWindow(kClient);
    context.targetWindow = kClient;
  }

  std::vector<PostRecord> MotionPosts() const {
    std::vector<PostRecord> out;
    for (const auto& post : platform.posts) {
      if (post.message == kMotionMessage) out.push_back(post);
    }
    return out;
  }

  // The six values of the only motion message posted.
  std::vector<std::int32_t> Sent() const {
    const auto posts = MotionPosts();
    EXPECT_EQ(posts.size(), 1u);
    if (posts.empty()) return {};
    std::int32_t axes[6];
    AstrolabUnpackMotion(static_cast<std::uint32_t>(posts[0].wParam),
                         static_cast<std::uint32_t>(posts[0].lParam), axes);
    return std::vector<std::int32_t>(axes, axes + 6);
  }
};

TEST(NullZoneTest, ValuesMoveTowardZeroByTheRadius) {
  EXPECT_EQ(ApplyNullZone(15, 10), 5);
  EXPECT_EQ(ApplyNullZone(-10, 10), 0);
  EXPECT_EQ(ApplyNullZone(10, 10), 0);
  EXPECT_EQ(ApplyNullZone(-11, 10), -1);
  EXPECT_EQ(ApplyNullZone(11, 10), 1);
  EXPECT_EQ(ApplyNullZone(0, 0), 0);
  EXPECT_EQ(ApplyNullZone(-3, 0), -3);
  // A negative radius is no zone at all (it must not make a resting cap move).
  EXPECT_EQ(ApplyNullZone(0, -5), 0);
  EXPECT_EQ(ApplyNullZone(3, -5), 3);
  EXPECT_EQ(ApplyNullZone(std::numeric_limits<std::int32_t>::min(), 1),
            std::numeric_limits<std::int32_t>::min() + 1);
}

TEST(ScaleAxisTest, ProductIsTruncatedTowardZeroAndHeldInRange) {
  EXPECT_EQ(ScaleAxis(3, 1, 0.5), 1);
  EXPECT_EQ(ScaleAxis(-3, 1, 0.5), -1);
  EXPECT_EQ(ScaleAxis(700, 1, 2.0), 1400);
  EXPECT_EQ(ScaleAxis(700, 0, 2.0), 0);
  EXPECT_EQ(ScaleAxis(-700, 5, 1.0), -700);  // any non-zero switch passes
  EXPECT_EQ(ScaleAxis(1, 1, 0.9999), 0);
  const std::int32_t max = std::numeric_limits<std::int32_t>::max();
  const std::int32_t min = std::numeric_limits<std::int32_t>::min();
  EXPECT_EQ(ScaleAxis(32767, 1, 1e300), max);
  EXPECT_EQ(ScaleAxis(-32768, 1, 1e300), min);
  EXPECT_EQ(ScaleAxis(5, 1, std::numeric_limits<double>::infinity()), max);
  EXPECT_EQ(ScaleAxis(5, 1, std::nan("")), 0);
  EXPECT_EQ(ScaleAxis(max, 1, 1.0), max);
  EXPECT_EQ(ScaleAxis(min, 1, 1.0), min);
}

TEST_F(MotionTest, ShapedSampleIsPostedToTheTarget) {
  settings.nullRadius = 10;
  settings.axisScale[kAxisY] = 2.0;
  settings.axisEnabled[kAxisA] = 0;
  SetAxes(15, -30, 12, 400, -11, 10);
  DeliverMotion(scope);
  const auto posts = MotionPosts();
  ASSERT_EQ(posts.size(), 1u);
  EXPECT_EQ(posts[0].window, kClient);
  EXPECT_EQ(Sent(), (std::vector<std::int32_t>{5, -40, 2, 0, -1, 0}));
  // The context holds the shaped values afterwards.
  const std::int32_t shaped[6] = {5, -40, 2, 0, -1, 0};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(context.axis[i], shaped[i]) << i;
}

TEST_F(MotionTest, ScaledValuesAreClampedToTheirFields) {
  for (int i = 0; i < 6; ++i) settings.axisScale[i] = 2.0;
  SetAxes(700, -700, 700, 700, -700, -700);
  DeliverMotion(scope);
  EXPECT_EQ(Sent(), (std::vector<std::int32_t>{1023, -1024, 511, 1023, -1024, -512}));
  EXPECT_EQ(context.axis[kAxisZ], 511);
}

TEST_F(MotionTest, HugeFactorsDoNotOverflow) {
  settings.axisScale[kAxisX] = 1e12;
  settings.axisScale[kAxisY] = -1e12;
  settings.axisScale[kAxisZ] = std::nan("");
  SetAxes(32767, 32767, 32767, 0, 0, 0);
  DeliverMotion(scope);
  EXPECT_EQ(Sent(), (std::vector<std::int32_t>{1023, -1024, 0, 0, 0, 0}));
}

TEST_F(MotionTest, RestingCapIsSentOnceAsZeros) {
  settings.nullRadius = 10;
  SetAxes(0, 0, 0, 0, 0, 0);
  DeliverMotion(scope);
  const auto posts = MotionPosts();
  ASSERT_EQ(posts.size(), 1u);
  EXPECT_EQ(posts[0].wParam, 0u);
  EXPECT_EQ(posts[0].lParam, 0);
}

TEST_F(MotionTest, SampleInsideTheNullZoneIsNotSent) {
  settings.nullRadius = 10;
  SetAxes(10, -10, 3, 0, -1, 7);
  DeliverMotion(scope);
  EXPECT_TRUE(MotionPosts().empty());
  for (int i = 0; i < 6; ++i) EXPECT_EQ(context.axis[i], 0);
}

TEST_F(MotionTest, SampleThatScalesToZeroIsStillSent) {
  // Only the null zone suppresses a sample; a switched-off axis does not.
  settings.axisEnabled[kAxisX] = 0;
  SetAxes(50, 0, 0, 0, 0, 0);
  DeliverMotion(scope);
  EXPECT_EQ(Sent(), (std::vector<std::int32_t>{0, 0, 0, 0, 0, 0}));
}

class MouseTest : public MotionTest {};

TEST_F(MouseTest, NoMotionBitNoInputEvent) {
  for (std::int32_t mode : {0, static_cast<int>(MouseModeButtons), 32 | 64 | 128}) {
    platform.log.clear();
    flags.mouseMode = mode;
    SetAxes(100, 100, 100, 100, 100, 100);
    DeliverMotion(scope);
    EXPECT_TRUE(platform.Entries("move").empty()) << mode;
    EXPECT_TRUE(platform.Entries("wheel").empty()) << mode;
  }
}

TEST_F(MouseTest, WheelTurnsByZAndReplacesTheMove) {
  flags.mouseMode = MouseModeWheel | MouseModeTranslation;
  SetAxes(100, 100, 25, 0, 0, 0);
  DeliverMotion(scope);
  SetAxes(100, 100, -25, 0, 0, 0);
  DeliverMotion(scope);
  EXPECT_EQ(platform.Entries("wheel"), (std::vector<std::string>{"wheel 2", "wheel -2"}));
  EXPECT_TRUE(platform.Entries("move").empty());
}

TEST_F(MouseTest, EachTermIsDividedOnItsOwn) {
  flags.mouseMode = MouseModeSlanted;
  SetAxes(19, 0, -15, 0, 9, 0);
  DeliverMotion(scope);
  // 19/10 - 9/10 = 1 - 0; -15/10 = -1 (toward zero).
  EXPECT_EQ(platform.Entries("move"), std::vector<std::string>{"move 1 -1"});
}

TEST_F(MouseTest, TranslationRotationAndSlantedBitsAddUp) {
  flags.mouseMode = MouseModeTranslation | MouseModeRotation | MouseModeSlanted;
  flags.mouseDivisor[0] = 10;
  flags.mouseDivisor[1] = 4;
  SetAxes(25, 37, 12, -9, -31, 18);
  DeliverMotion(scope);
  // dx = (2 - -3) + 2 - 18/4 = 5 + 2 - 4 = 3; dy = 1 - 3 + -9/4 = 1 - 3 - 2 = -4.
  EXPECT_EQ(platform.Entries("move"), std::vector<std::string>{"move 3 -4"});
}

TEST_F(MouseTest, DefaultModeMovesByXMinusBAndZ) {
  flags = RuntimeFlags{};
  SetAxes(47, 0, -33, 0, 12, 0);
  DeliverMotion(scope);
  EXPECT_EQ(platform.Entries("move"), std::vector<std::string>{"move 3 -3"});
}

TEST_F(MouseTest, EventIsEmittedEvenWhenAllAmountsAreZero) {
  flags.mouseMode = MouseModeTranslation;
  SetAxes(0, 0, 0, 0, 0, 0);
  DeliverMotion(scope);
  EXPECT_EQ(platform.Entries("move"), std::vector<std::string>{"move 0 0"});
  flags.mouseMode = MouseModeWheel;
  DeliverMotion(scope);
  EXPECT_EQ(platform.Entries("wheel"), std::vector<std::string>{"wheel 0"});
}

TEST_F(MouseTest, EmulationUsesTheRawValuesAndComesFirst) {
  flags.mouseMode = MouseModeTranslation;
  settings.nullRadius = 100;
  SetAxes(50, 0, 0, 0, 0, 0);  // inside the zone: no message, but the pointer moves
  DeliverMotion(scope);
  EXPECT_EQ(platform.log, std::vector<std::string>{"move 5 0"});
}

TEST_F(MouseTest, ExtremeValuesAndAZeroDivisorAreHarmless) {
  flags.mouseMode = MouseModeTranslation | MouseModeSlanted;
  flags.mouseDivisor[0] = 1;
  const std::int32_t max = std::numeric_limits<std::int32_t>::max();
  const std::int32_t min = std::numeric_limits<std::int32_t>::min();
  SetAxes(max, min, 0, 0, min, 0);
  DeliverMotion(scope);
  EXPECT_EQ(platform.Entries("move"),
            std::vector<std::string>{"move " + std::to_string(max) + " " + std::to_string(max)});
  platform.log.clear();
  flags.mouseDivisor[0] = 0;  // never set by a command; must not trap
  SetAxes(5, 5, 5, 5, 5, 5);
  DeliverMotion(scope);
  EXPECT_EQ(platform.Entries("move"), std::vector<std::string>{"move 0 0"});
}

class FakePush : public PushGesture {
 public:
  int answer = 0;
  std::vector<std::vector<std::int32_t>> samples;
  int PushRecognizer(const std::int32_t raw[kAxisCount]) override {
    samples.emplace_back(raw, raw + kAxisCount);
    return answer;
  }
};

TEST_F(MotionTest, PushGestureSeesRawSamplesWhileHintviewIsOnAndMayTakeThem) {
  FakePush push;
  scope.push = &push;
  settings.nullRadius = 10;
  flags.mouseMode = MouseModeTranslation;
  SetAxes(15, 0, 0, 0, 0, 0);
  DeliverMotion(scope);  // Hintview off: not asked
  EXPECT_TRUE(push.samples.empty());
  EXPECT_EQ(MotionPosts().size(), 1u);

  flags.hintviewActive = 1;
  for (int answer : {1, 2, 3}) {
    push.answer = answer;
    SetAxes(15, 20, 0, 0, 0, 0);
    DeliverMotion(scope);
  }
  EXPECT_EQ(MotionPosts().size(), 1u);  // all three taken
  ASSERT_EQ(push.samples.size(), 3u);
  EXPECT_EQ(push.samples[0], (std::vector<std::int32_t>{15, 20, 0, 0, 0, 0}));
  EXPECT_EQ(context.axis[kAxisX], 15);             // a taken sample stays raw
  EXPECT_EQ(platform.Entries("move").size(), 4u);  // the mouse moved every time

  push.answer = 0;
  SetAxes(15, 0, 0, 0, 0, 0);
  DeliverMotion(scope);
  EXPECT_EQ(MotionPosts().size(), 2u);
}

class MotionFallbackTest : public MotionTest {
 protected:
  MotionFallbackTest() {
    AddWindow(601, "Older client");
    AddWindow(602, "Newer client");
    clients.Add(kClient);
    clients.Add(601);
    clients.Add(602);
    AppEntry bound;
    bound.window = kClient;
    bound.processId = 5;
    bound.threadId = 50;
    apps.StoreByThread(50, bound);
  }
};

TEST_F(MotionFallbackTest, TargetGoneItLeavesTheTableAndTheNewestClientGetsTheSameSample) {
  platform.windows.erase(kClient);
  SetAxes(30, -20, 10, 0, 0, 0);
  DeliverMotion(scope);
  const auto posts = MotionPosts();
  ASSERT_EQ(posts.size(), 2u);
  EXPECT_EQ(posts[0].window, kClient);
  EXPECT_EQ(posts[1].window, 602u);
  EXPECT_EQ(posts[1].wParam, posts[0].wParam);
  EXPECT_EQ(posts[1].lParam, posts[0].lParam);
  EXPECT_EQ(context.targetWindow, 602u);
  EXPECT_FALSE(apps.HasThread(50));
  ASSERT_EQ(platform.driverPosts.size(), 1u);
  EXPECT_EQ(platform.driverPosts[0].second, 602);
}

TEST_F(MotionFallbackTest, TargetGoneWithoutFallbackTheSampleIsLostAndTheTargetIsZero) {
  platform.windows.clear();
  SetAxes(30, 0, 0, 0, 0, 0);
  DeliverMotion(scope);
  EXPECT_EQ(MotionPosts().size(), 1u);
  EXPECT_EQ(context.targetWindow, 0u);
  EXPECT_FALSE(apps.HasThread(50));
  EXPECT_TRUE(platform.driverPosts.empty());
}

TEST_F(MotionFallbackTest, WithoutTargetNothingIsPostedUntilAClientIsThere) {
  platform.windows.clear();
  SetAxes(30, 0, 0, 0, 0, 0);
  DeliverMotion(scope);  // the target goes, no fallback: target 0
  DeliverMotion(scope);
  EXPECT_EQ(MotionPosts().size(), 1u);  // the second sample is not posted to window 0

  AddWindow(602, "Newer client");
  DeliverMotion(scope);
  const auto posts = MotionPosts();
  ASSERT_EQ(posts.size(), 2u);
  EXPECT_EQ(posts[1].window, 602u);
  EXPECT_EQ(context.targetWindow, 602u);
}

TEST_F(MotionFallbackTest, OtherErrorsTryTheFallbackButKeepTheTable) {
  constexpr std::uint32_t kQueueFull = 1816;
  platform.postErrors[kClient] = kQueueFull;
  SetAxes(30, 0, 0, 0, 0, 0);
  DeliverMotion(scope);
  const auto posts = MotionPosts();
  ASSERT_EQ(posts.size(), 2u);
  EXPECT_EQ(posts[1].window, 602u);
  EXPECT_EQ(context.targetWindow, 602u);
  EXPECT_TRUE(apps.HasThread(50));
}

TEST_F(MotionFallbackTest, OtherErrorWithoutFallbackLeavesTheTarget) {
  platform.postErrors[kClient] = 1816;
  platform.windows[kClient] = "";  // alive, but a client without title is no candidate
  platform.windows.erase(601);
  platform.windows.erase(602);
  SetAxes(30, 0, 0, 0, 0, 0);
  DeliverMotion(scope);
  EXPECT_EQ(MotionPosts().size(), 1u);
  EXPECT_EQ(context.targetWindow, kClient);
  EXPECT_TRUE(apps.HasThread(50));
}

TEST_F(MotionFallbackTest, FailedFallbackPostIsNotRetried) {
  platform.postErrors[kClient] = 1816;
  platform.postErrors[602] = 1816;
  SetAxes(30, 0, 0, 0, 0, 0);
  DeliverMotion(scope);
  EXPECT_EQ(MotionPosts().size(), 2u);
  EXPECT_EQ(context.targetWindow, 602u);
}

TEST_F(MotionFallbackTest, NoApplicationChosenByTheUserStandsUntilAClientRegisters) {
  context.targetWindow = 0;
  context.targetClearedByUser = true;
  SetAxes(30, 0, 0, 0, 0, 0);
  DeliverMotion(scope);
  DeliverMotion(scope);
  EXPECT_TRUE(MotionPosts().empty());  // live clients 601 and 602 are not chosen
  EXPECT_EQ(context.targetWindow, 0u);
  EXPECT_TRUE(platform.driverPosts.empty());

  AddWindow(603, "Registering client");
  RegisterClientWindow(scope, 603);
  DeliverMotion(scope);
  const auto posts = MotionPosts();
  ASSERT_EQ(posts.size(), 1u);
  EXPECT_EQ(posts[0].window, 603u);
}

TEST_F(MotionFallbackTest, ATargetThatVanishesAfterTheUserClearedOneStillFallsBack) {
  // Cleared by the user, then an activated application became the target and
  // closed with no other client about: once a client is back, it is found.
  context.targetClearedByUser = true;
  platform.windows.clear();
  SetAxes(30, 0, 0, 0, 0, 0);
  DeliverMotion(scope);
  EXPECT_EQ(context.targetWindow, 0u);
  AddWindow(602, "Newer client");
  DeliverMotion(scope);
  const auto posts = MotionPosts();
  ASSERT_EQ(posts.size(), 2u);
  EXPECT_EQ(posts[1].window, 602u);
}

}  // namespace
}  // namespace astro::testing
