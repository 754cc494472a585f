// The length limit of a recording: what the store can read back (511 events),
// with room kept for releasing the keys that are held.
#include "config/capture_room.h"

#include <gtest/gtest.h>

#include <random>

namespace astro {
namespace {

constexpr std::uint32_t kA = 0x41;
constexpr std::uint32_t kShift = 0x10;
constexpr std::uint32_t kAlt = 0x12;

TEST(CaptureRoomTest, PairsFillTheRoomAndAStrayKeyUpTakesTheLastPlace) {
  CaptureRoom room{};
  for (int pair = 0; pair < 255; ++pair) {  // 510 events
    ASSERT_TRUE(room.Take(kKeyDown, kA)) << pair;
    ASSERT_TRUE(room.Take(kKeyUp, kA)) << pair;
  }
  EXPECT_FALSE(room.full);
  // 510 + the key-down + its key-up would be 512.
  EXPECT_FALSE(room.Take(kKeyDown, 0x42));
  EXPECT_TRUE(room.full);
  // A key-up of a key the recording never saw down needs no partner: 511.
  EXPECT_TRUE(room.Take(kKeyUp, 0x43));
  EXPECT_EQ(room.count, 511u);
  EXPECT_FALSE(room.Take(kKeyUp, 0x43));
}

TEST(CaptureRoomTest, AHeldShiftIsAlwaysReleased) {
  CaptureRoom room{};
  ASSERT_TRUE(room.Take(kKeyDown, kShift));
  // Worked by hand: pair k needs 1 + 2k + 1 (its down) + 2 (both keys up) <= 511,
  // so pairs 0 to 253 fit: 1 + 508 = 509 events.
  int pairs = 0;
  while (room.Take(kKeyDown, kA)) {
    ASSERT_TRUE(room.Take(kKeyUp, kA));
    ++pairs;
  }
  EXPECT_EQ(pairs, 254);
  EXPECT_EQ(room.count, 509u);
  EXPECT_TRUE(room.Take(kKeyUp, kShift));
  EXPECT_EQ(room.held, 0u);
  // 510 now: one more key-down and its key-up would make 512.
  EXPECT_FALSE(room.Take(kSysKeyDown, kAlt));
}

TEST(CaptureRoomTest, AutoRepeatStopsWhereTheKeyUpStillFits) {
  CaptureRoom room{};
  // Alt held: repeated system key-downs, released by a plain key-up.
  while (room.Take(kSysKeyDown, kAlt)) {
  }
  EXPECT_EQ(room.count, 510u);
  EXPECT_TRUE(room.full);
  EXPECT_TRUE(room.Take(kKeyUp, kAlt));
  EXPECT_EQ(room.count, 511u);
}

TEST(CaptureRoomTest, NoTypingOverflowsOrLeavesAKeyDown) {
  std::mt19937 random(20261208);
  const std::uint32_t messages[4] = {kKeyDown, kKeyUp, kSysKeyDown, kSysKeyUp};
  for (int run = 0; run < 50; ++run) {
    CaptureRoom room{};
    bool down[8] = {};
    for (int step = 0; step < 3000; ++step) {
      const std::uint32_t message = messages[random() % 4];
      const std::uint32_t key = 0x41 + random() % 8;
      const bool isDown = message == kKeyDown || message == kSysKeyDown;
      const bool wasHeld = down[key - 0x41];
      const bool taken = room.Take(message, key);
      ASSERT_LE(room.count, 511u);
      // The release of a held key is never refused.
      if (!isDown && wasHeld) {
        ASSERT_TRUE(taken);
      }
      if (taken) down[key - 0x41] = isDown;
    }
    // Releasing what is still held always fits.
    for (std::uint32_t key = 0; key < 8; ++key) {
      if (down[key]) {
        EXPECT_TRUE(room.Take(kKeyUp, 0x41 + key));
      }
    }
    EXPECT_EQ(room.held, 0u);
    EXPECT_LE(room.count, 511u);
  }
}

}  // namespace
}  // namespace astro
