// The 16-bit halves in which the key-capture control hands a finished list over,
// and the list put back together from them.
#include "config/key_halves.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace astro {
namespace testing {
namespace {

KeyEvent Event(std::uint32_t window, std::uint32_t message, std::uint32_t virtualKey,
               std::uint32_t keyData, std::uint32_t time, std::uint32_t pointX,
               std::uint32_t pointY) {
  KeyEvent event;
  event.window = window;
  event.message = message;
  event.virtualKey = virtualKey;
  event.keyData = keyData;
  event.time = time;
  event.pointX = pointX;
  event.pointY = pointY;
  return event;
}

// Every field with a different value in each of its halves, so that a swapped or
// shifted half shows.
const std::vector<KeyEvent> kRecorded = {
    Event(0x000A0B0C, 0x100, 0x10, 0x002A0001, 0x00C0FFEE, 0x11112222, 0x33334444),
    Event(0x000A0B0C, 0x100, 0x48, 0x00230001, 0x00C10000, 0x55556666, 0x77778888),
    Event(0xFEDCBA98, 0x101, 0x48, 0xC0230001, 0xFFFFFFFF, 0x9999AAAA, 0xBBBBCCCC),
    Event(0x00000001, 0x104, 0x12, 0x20380001, 0x80000000, 0xDDDDEEEE, 0x0000FFFF),
};

bool SameBytes(const KeyEvent& a, const KeyEvent& b) {
  return std::memcmp(&a, &b, sizeof(KeyEvent)) == 0;
}

bool AllZero(const KeyEvent& event) {
  return SameBytes(event, KeyEvent{});
}

KeyEventList Assemble(std::uint16_t count, const std::vector<std::uint16_t>& halves) {
  KeyListAssembler assembler;
  assembler.Start(count);
  for (std::uint16_t half : halves) assembler.Add(half);
  return assembler.Finish();
}

TEST(KeyHalvesTest, HalvesOfAKeyDownWrittenOutByHand) {
  const KeyEvent keyDown = Event(0x00010234, 0x100, 0x41, 0x001E0001, 0x12345678, 0, 0);
  const std::vector<std::uint16_t> expected = {
      0x0234, 0x0001,  // window
      0x0100, 0x0000,  // WM_KEYDOWN
      0x0041, 0x0000,  // 'A'
      0x0001, 0x001E,  // repeat count 1, scan code 0x1E
      0x5678, 0x1234,  // time
      0x0000, 0x0000,  // pointX
      0x0000, 0x0000,  // pointY
  };
  EXPECT_EQ(KeyEventHalves(&keyDown, 1), expected);
}

TEST(KeyHalvesTest, HalvesFollowTheRecordsBytesInMemoryOrder) {
  const int count = static_cast<int>(kRecorded.size());
  // The little-endian machines this runs on lay the lower half of each field first.
  std::vector<std::uint16_t> memory(kRecorded.size() * sizeof(KeyEvent) / 2);
  std::memcpy(memory.data(), kRecorded.data(), kRecorded.size() * sizeof(KeyEvent));
  EXPECT_EQ(KeyEventHalves(kRecorded.data(), count), memory);
}

TEST(KeyHalvesTest, OnlyTheCountedRecordsAreSent) {
  KeyEventList list = kRecorded;
  list.push_back(KeyEvent{});  // the end record
  EXPECT_EQ(KeyEventHalves(list.data(), 2).size(), 28u);
  EXPECT_EQ(KeyEventHalves(list.data(), 4).size(), 56u);
  EXPECT_TRUE(KeyEventHalves(list.data(), 0).empty());
  EXPECT_TRUE(KeyEventHalves(list.data(), -1).empty());
  EXPECT_TRUE(KeyEventHalves(nullptr, 3).empty());
}

TEST(KeyHalvesTest, ListComesBackByteForByteWithItsEndRecord) {
  const KeyEventList list =
      Assemble(4, KeyEventHalves(kRecorded.data(), static_cast<int>(kRecorded.size())));
  ASSERT_EQ(list.size(), 5u);
  for (std::size_t i = 0; i < kRecorded.size(); ++i) {
    EXPECT_TRUE(SameBytes(list[i], kRecorded[i])) << "record " << i;
  }
  EXPECT_TRUE(AllZero(list[4]));
  EXPECT_EQ(CountKeyEvents(list.data()), 4);
}

TEST(KeyHalvesTest, CountZeroGivesOnlyTheEndRecord) {
  KeyEventList list = Assemble(0, {});
  ASSERT_EQ(list.size(), 1u);
  EXPECT_TRUE(AllZero(list[0]));
  // Halves sent anyway cannot turn the end record into an event.
  list = Assemble(0, {0x0100, 0x0000, 0x0041});
  ASSERT_EQ(list.size(), 1u);
  EXPECT_TRUE(AllZero(list[0]));
}

TEST(KeyHalvesTest, HalvesBeyondTheAnnouncedRecordsAreIgnored) {
  std::vector<std::uint16_t> halves = KeyEventHalves(kRecorded.data(), 2);
  halves.insert(halves.end(), 30, 0xFFFF);
  const KeyEventList list = Assemble(1, halves);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_TRUE(SameBytes(list[0], kRecorded[0]));
  EXPECT_TRUE(AllZero(list[1]));
}

TEST(KeyHalvesTest, MissingHalvesLeaveZeros) {
  const KeyEventList list = Assemble(2, {0x0B0C, 0x000A, 0x0100});
  ASSERT_EQ(list.size(), 3u);
  EXPECT_TRUE(SameBytes(list[0], Event(0x000A0B0C, 0x100, 0, 0, 0, 0, 0)));
  EXPECT_TRUE(AllZero(list[1]));
  EXPECT_TRUE(AllZero(list[2]));
}

TEST(KeyHalvesTest, StartDiscardsAnEarlierListAndItsPosition) {
  KeyListAssembler assembler;
  assembler.Start(3);
  assembler.Add(0x1234);
  assembler.Add(0x5678);
  assembler.Start(1);
  assembler.Add(0x0001);  // lands in the window field of the new first record
  const KeyEventList list = assembler.Finish();
  ASSERT_EQ(list.size(), 2u);
  EXPECT_TRUE(SameBytes(list[0], Event(0x00000001, 0, 0, 0, 0, 0, 0)));
  // Finish empties the assembler: halves without a new start go nowhere.
  assembler.Add(0x0100);
  const KeyEventList empty = assembler.Finish();
  ASSERT_EQ(empty.size(), 1u);
  EXPECT_TRUE(AllZero(empty[0]));
}

}  // namespace
}  // namespace testing
}  // namespace astro
