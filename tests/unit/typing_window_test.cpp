// How long a typed sequence counts as running: 50 ms and 2 ms a key event.
#include "delivery/typing_window.h"

#include <gtest/gtest.h>

namespace astro {
namespace {

TEST(TypingWindowTest, RunsUntilTheProgramCanHaveTakenTheLastKey) {
  TypingWindow window;
  EXPECT_FALSE(window.Running(0));
  // "[Alt]vr": 6 events from t = 1000 ms: 50 + 12 ms, so until 1062.
  window.Start(6, 1000);
  EXPECT_TRUE(window.Running(1000));
  EXPECT_TRUE(window.Running(1061));
  EXPECT_FALSE(window.Running(1062));
  EXPECT_FALSE(window.Running(1061));  // over is over
  // The longest recording, 511 events: 50 + 1022 ms.
  window.Start(511, 5000);
  EXPECT_TRUE(window.Running(6071));
  EXPECT_FALSE(window.Running(6072));
  // Ended at exit.
  window.Start(6, 9000);
  window.End();
  EXPECT_FALSE(window.Running(9001));
}

}  // namespace
}  // namespace astro
