// The controller's character codes and the password's stored form, checked against
// their rules restated here and against bytes worked out by hand. The decoder, the
// simulated controller and most tests share one table, so a wrong entry would
// otherwise pass everywhere.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "config/password_scrambling.h"
#include "driver/device_alphabet.h"
#include "driver/device_link.h"
#include "sim/simulated_controller.h"
#include "tests/sextet_rule.h"

namespace astro {
namespace {

using Axes = std::array<int, kAxisCount>;
using testing::RuleCharacter;

class RecordingHost : public DeviceLinkHost {
 public:
  explicit RecordingHost(const DeliveryContext& context) : context_(context) {}

  std::vector<Axes> motions;
  std::vector<std::string> others;  // anything but motion, which a "d" line must not cause

  void SendCommand(const char* text, std::size_t length) override {
    others.push_back("send " + std::string(text, length));
  }
  void DeliverMotion() override {
    Axes axes;
    for (int i = 0; i < kAxisCount; ++i) axes[i] = context_.axis[i];
    motions.push_back(axes);
  }
  void DeliverButtons(std::uint32_t mask) override {
    others.push_back("buttons " + std::to_string(mask));
  }
  bool PanelOpen() override { return false; }
  void PostPanelNote(std::uint32_t code, std::int32_t value) override {
    others.push_back("note " + std::to_string(code) + " " + std::to_string(value));
  }
  void RepaintPanel() override { others.push_back("repaint"); }

 private:
  const DeliveryContext& context_;
};

class EncodingRulesTest : public ::testing::Test {
 protected:
  // Feeds one line without its carriage return, as a read of its own.
  void Receive(const std::string& line) {
    const std::string text = line + "\r";
    ASSERT_EQ(link_.Append(text.data(), text.size()), text.size());
    link_.DispatchLines();
  }
  Axes ContextAxes() const {
    Axes axes;
    for (int i = 0; i < kAxisCount; ++i) axes[i] = context_.axis[i];
    return axes;
  }

  DeliveryContext context_;
  SettingsRecord settings_;
  RuntimeFlags flags_;
  StoredCommands commands_;
  RecordingHost host_{context_};
  DeviceLink link_{context_, settings_, flags_, commands_, host_};
};

// Short packets worked out by hand: each axis plus 2048 split into a high and a
// low sextet, then the sum of the twelve bytes as two more sextets.
struct GoldenPacket {
  Axes axes;
  std::string bytes;  // without the carriage return
};

const std::vector<GoldenPacket> kShortGolden = {
    // 0 | 4095 = 63:63 | 2047 = 31:63 | 2048 = 32:0 | 3048 = 47:40 | 1048 = 16:24;
    // sum 1787 = 27:59.
    {{-2048, 2047, -1, 0, 1000, -1000},
     "\x64\x80\x80\xBF\xBF\x5F\xBF\xE0\x80\x6F\xA8\x50\x98\x9B\x7B"},
    // All three exceptions: 1854 = 28:62, 2076 = 32:28 | 2171 = 33:59 | 1271 = 19:55 |
    // 3282 = 51:18 | 548 = 8:36; sum 1773 = 27:45.
    {{-194, 28, 123, -777, 1234, -1500},
     "\x64\xDC\x3E\xE0\xDC\xA1\x7B\x53\x77\xB3\x92\x48\xA4\x9B\xAD"},
    // The zero sample: six times 32:0, sum 2112 = 33:0.
    {{0, 0, 0, 0, 0, 0}, "\x64\xE0\x80\xE0\x80\xE0\x80\xE0\x80\xE0\x80\xE0\x80\xA1\x80"},
};

// Each axis plus 32768 as four alphabet characters, most significant first:
// 0x0000, 0xFFFF, 0x8000, 0x7FFF, 0xB039, 0x31E0.
const Axes kLongAxes = {-32768, 32767, 0, -1, 12345, -20000};
const std::string kLongGolden = "d0000????H000G???K0393AN0";

TEST_F(EncodingRulesTest, EverySextetCharacterFollowsTheParityRule) {
  for (unsigned value = 0; value < 64; ++value) {
    const unsigned expected = RuleCharacter(value);
    EXPECT_EQ(kSextetCharacters[value], expected) << "value " << value;
    EXPECT_EQ(DecodeSextet(static_cast<char>(expected)), value) << "value " << value;
  }
  // The exceptions' rule characters, other bits above a valid value, and zero.
  for (unsigned byte :
       {0x5Cu, 0x9Cu, 0x60u, 0xA0u, 0x7Eu, 0xBEu, 0x40u, 0xC0u, 0xC1u, 0x01u, 0xFFu, 0x00u}) {
    EXPECT_EQ(DecodeSextet(static_cast<char>(byte)), 0u) << "byte " << byte;
  }
  // Exactly one character per value is accepted; every other byte decodes to 0.
  int accepted = 0;
  for (unsigned byte = 0; byte < 256; ++byte) {
    const bool valid = RuleCharacter(byte & 63u) == byte;
    accepted += valid ? 1 : 0;
    EXPECT_EQ(DecodeSextet(static_cast<char>(byte)), valid ? (byte & 63u) : 0u) << byte;
  }
  EXPECT_EQ(accepted, 64);
}

TEST_F(EncodingRulesTest, ShortGoldenPacketsMatchTheSimulatorAndDecode) {
  for (const GoldenPacket& golden : kShortGolden) {
    ASSERT_EQ(golden.bytes.size(), 15u);
    EXPECT_EQ(sim::ShortMotionLine(golden.axes), golden.bytes + "\r");
    Receive(golden.bytes);
    ASSERT_FALSE(host_.motions.empty());
    EXPECT_EQ(host_.motions.back(), golden.axes);
  }
  EXPECT_EQ(host_.motions.size(), kShortGolden.size());
  EXPECT_TRUE(host_.others.empty());
}

TEST_F(EncodingRulesTest, ShortPacketOutOfTheTableReadsThoseCharactersAsZero) {
  // The zero sample with X's high character 0x60 (32 by the plain rule, not its
  // character): X reads 0 - 32, and the checksum is over the raw bytes, 2112 - 128
  // = 1984 = 31:0.
  Receive("\x64\x60\x80\xE0\x80\xE0\x80\xE0\x80\xE0\x80\xE0\x80\x5F\x80");
  ASSERT_EQ(host_.motions.size(), 1u);
  EXPECT_EQ(host_.motions[0], (Axes{-2048, 0, 0, 0, 0, 0}));
}

TEST_F(EncodingRulesTest, ShortPacketWithWrongChecksumZeroesTheAxesAndIsDropped) {
  Receive(kShortGolden[0].bytes);
  ASSERT_EQ(ContextAxes(), kShortGolden[0].axes);
  // The first golden packet with the sum 1788 = 27:60: one too many.
  const std::string corrupt = "\x64\x80\x80\xBF\xBF\x5F\xBF\xE0\x80\x6F\xA8\x50\x98\x9B\xBC";
  EXPECT_EQ(sim::ShortMotionLine(kShortGolden[0].axes, true), corrupt + "\r");
  Receive(corrupt);
  EXPECT_EQ(host_.motions.size(), 1u);
  EXPECT_EQ(ContextAxes(), (Axes{0, 0, 0, 0, 0, 0}));
  // The right sum with its high sextet in a character outside the table (0x5B for 27).
  Receive(kShortGolden[1].bytes);
  Receive("\x64\xDC\x3E\xE0\xDC\xA1\x7B\x53\x77\xB3\x92\x48\xA4\x5B\xAD");
  EXPECT_EQ(host_.motions.size(), 2u);
  EXPECT_EQ(ContextAxes(), (Axes{0, 0, 0, 0, 0, 0}));
  EXPECT_TRUE(host_.others.empty());
}

TEST_F(EncodingRulesTest, LongGoldenPacketMatchesTheSimulatorAndDecodes) {
  settings_.hintviewAllowed = 0;
  EXPECT_EQ(sim::LongMotionLine(kLongAxes), kLongGolden + "\r");
  Receive(kLongGolden);
  // Only the low four bits count: 'h' is 8 and 'p' is 0 like "H" and "0".
  Receive("dhppp????H000G???K0393AN0");
  ASSERT_EQ(host_.motions.size(), 2u);
  EXPECT_EQ(host_.motions[0], kLongAxes);
  EXPECT_EQ(host_.motions[1], (Axes{0, 32767, 0, -1, 12345, -20000}));
  EXPECT_TRUE(host_.others.empty());
}

TEST(EncodingRulesPasswordTest, NineteenCharactersScrambleByTheWholeKey) {
  // 'A' + 'A' = 0x82, 'b' + 'S' = 0xB5, ..., 's' + 'T' = 0xC7.
  const char plain[] = "Abcdefghijklmnopqrs";
  const char stored[] =
      "\x82\xB5\xB7\xB6\xB4\xB2\xA8\xAA\xAA\xBD\xBF\xBE\xBC\xBA\xB0\xB2\xB2\xC5\xC7";
  static_assert(sizeof plain == kPasswordField && sizeof stored == kPasswordField, "");
  const PasswordBytes scrambled = ScramblePassword(plain);
  EXPECT_EQ(std::string(scrambled.data(), scrambled.size()), std::string(stored, sizeof stored));
  const PasswordBytes unscrambled = UnscramblePassword(stored);
  EXPECT_EQ(std::string(unscrambled.data(), unscrambled.size()), std::string(plain, sizeof plain));
}

TEST(EncodingRulesPasswordTest, BytesWrapPastTwoHundredFiftyFive) {
  // 0xFF - 3i at position i: 0xFF + 'A' = 0x140, ..., 0xC9 + 'T' = 0x11D.
  const char plain[] =
      "\xFF\xFC\xF9\xF6\xF3\xF0\xED\xEA\xE7\xE4\xE1\xDE\xDB\xD8\xD5\xD2\xCF\xCC\xC9";
  const char stored[] =
      "\x40\x4F\x4D\x48\x42\x3C\x2E\x2C\x28\x37\x35\x30\x2A\x24\x16\x14\x10\x1F\x1D";
  static_assert(sizeof plain == kPasswordField && sizeof stored == kPasswordField, "");
  const PasswordBytes scrambled = ScramblePassword(plain);
  EXPECT_EQ(std::string(scrambled.data(), scrambled.size()), std::string(stored, sizeof stored));
  const PasswordBytes unscrambled = UnscramblePassword(stored);
  EXPECT_EQ(std::string(unscrambled.data(), unscrambled.size()), std::string(plain, sizeof plain));
}

}  // namespace
}  // namespace astro
