// The simulated controller's lines must decode, with the driver's own character
// functions, to exactly the values they were built from.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "driver/device_alphabet.h"
#include "sim/simulated_controller.h"

namespace {

using sim::Axes;

struct ShortPacket {
  Axes axes{};
  unsigned checksum = 0;
  unsigned byteSum = 0;
};

ShortPacket DecodeShort(const std::string& line) {
  ShortPacket packet;
  for (int i = 0; i < 6; ++i) {
    packet.axes[i] = (static_cast<int>(astro::DecodeSextet(line[2 * i + 1])) - 32) * 64 +
                     static_cast<int>(astro::DecodeSextet(line[2 * i + 2]));
  }
  for (int i = 1; i <= 12; ++i) packet.byteSum += static_cast<unsigned char>(line[i]);
  packet.checksum = astro::DecodeSextet(line[13]) * 64 + astro::DecodeSextet(line[14]);
  return packet;
}

Axes DecodeLong(const std::string& line) {
  Axes axes{};
  for (int i = 0; i < 6; ++i) {
    const auto nibble = [&](int k) {
      return static_cast<int>(astro::DecodeNibble(line[4 * i + k]));
    };
    axes[i] = (nibble(1) - 8) * 4096 + nibble(2) * 256 + nibble(3) * 16 + nibble(4);
  }
  return axes;
}

bool IsTableCharacter(char c) {
  const auto byte = static_cast<std::uint8_t>(c);
  return astro::kSextetCharacters[byte & 63u] == byte;
}

bool IsAlphabetCharacter(char c) {
  return std::string(astro::kDeviceAlphabet).find(c) != std::string::npos;
}

const std::vector<Axes> kShortSamples = {
    {0, 0, 0, 0, 0, 0},
    {-2048, 2047, 0, -1, 1, 63},
    {2047, 2047, 2047, 2047, 2047, 2047},
    {-2048, -2048, -2048, -2048, -2048, -2048},
    {64, -64, 65, -65, 1000, -1000},
    {-256, 1920, 28 - 2048, 62 - 2048, 32, -32},  // the table's exceptions 28, 62, 32
};

TEST(SimShortMotionLine, ZeroSampleIsTheKnownPacket) {
  std::string expected = "d";
  for (int i = 0; i < 6; ++i) expected += "\xE0\x80";
  expected += "\xA1\x80\r";
  EXPECT_EQ(sim::ShortMotionLine({0, 0, 0, 0, 0, 0}), expected);
}

TEST(SimShortMotionLine, DecodesToItsAxesWithAValidChecksum) {
  for (const Axes& axes : kShortSamples) {
    const std::string line = sim::ShortMotionLine(axes);
    ASSERT_EQ(line.size(), 16u);
    EXPECT_EQ(line.front(), 'd');
    EXPECT_EQ(line.back(), '\r');
    // DecodeSextet reads an invalid character as 0, so check each one against the table.
    for (int i = 1; i <= 14; ++i) EXPECT_TRUE(IsTableCharacter(line[i])) << "character " << i;
    const ShortPacket packet = DecodeShort(line);
    EXPECT_EQ(packet.axes, axes);
    EXPECT_EQ(packet.checksum, packet.byteSum);
  }
}

TEST(SimShortMotionLine, CorruptChecksumIsWrongButKeepsTheAxes) {
  for (const Axes& axes : kShortSamples) {
    const std::string good = sim::ShortMotionLine(axes);
    const std::string bad = sim::ShortMotionLine(axes, true);
    ASSERT_EQ(bad.size(), 16u);
    EXPECT_EQ(bad.substr(0, 13), good.substr(0, 13));
    EXPECT_TRUE(IsTableCharacter(bad[13]) && IsTableCharacter(bad[14]));
    const ShortPacket packet = DecodeShort(bad);
    EXPECT_NE(packet.checksum, packet.byteSum);
  }
}

TEST(SimShortMotionLine, ClampsValuesOutsideTheRange) {
  EXPECT_EQ(DecodeShort(sim::ShortMotionLine({5000, -5000, 2048, -2049, 0, 0})).axes,
            (Axes{2047, -2048, 2047, -2048, 0, 0}));
}

TEST(SimLongMotionLine, KnownCharactersForZeroAndTheEdges) {
  std::string zero = "d";
  for (int i = 0; i < 6; ++i) zero += "H000";  // "H" carries 8
  EXPECT_EQ(sim::LongMotionLine({0, 0, 0, 0, 0, 0}), zero + "\r");
  const std::string edges = sim::LongMotionLine({-32768, 32767, 0, 0, 0, 0});
  EXPECT_EQ(edges.substr(1, 8), "0000????");
}

TEST(SimLongMotionLine, DecodesToItsAxes) {
  const std::vector<Axes> samples = {
      {-32768, 32767, 0, -1, 1, 4096},
      {32767, 32767, 32767, 32767, 32767, 32767},
      {-32768, -32768, -32768, -32768, -32768, -32768},
      {-2048, 2047, 255, -256, 12345, -12345},
  };
  for (const Axes& axes : samples) {
    const std::string line = sim::LongMotionLine(axes);
    ASSERT_EQ(line.size(), 26u);
    EXPECT_EQ(line.front(), 'd');
    EXPECT_EQ(line.back(), '\r');
    for (int i = 1; i <= 24; ++i) EXPECT_TRUE(IsAlphabetCharacter(line[i])) << "character " << i;
    EXPECT_EQ(DecodeLong(line), axes);
  }
  EXPECT_EQ(DecodeLong(sim::LongMotionLine({40000, -40000, 0, 0, 0, 0}))[0], 32767);
  EXPECT_EQ(DecodeLong(sim::LongMotionLine({40000, -40000, 0, 0, 0, 0}))[1], -32768);
}

TEST(SimButtonLine, LowNibbleFirst) {
  EXPECT_EQ(sim::ButtonLine(0x001), "kA00\r");
  EXPECT_EQ(sim::ButtonLine(0x000), "k000\r");
  EXPECT_EQ(sim::ButtonLine(0x123), "k3BA\r");
  EXPECT_EQ(sim::ButtonLine(0xFFF), "k???\r");
}

TEST(SimButtonLine, EveryMaskDecodesBack) {
  for (std::uint32_t mask = 0; mask < 4096; ++mask) {
    const std::string line = sim::ButtonLine(mask);
    ASSERT_EQ(line.size(), 5u);
    const std::uint32_t decoded = astro::DecodeNibble(line[3]) * 256 +
                                  astro::DecodeNibble(line[2]) * 16 + astro::DecodeNibble(line[1]);
    ASSERT_EQ(decoded, mask);
  }
}

TEST(SimReportLines, KnownLines) {
  EXPECT_EQ(sim::ModeLine(3), "m3\r");
  EXPECT_EQ(sim::ModeLine(1), "mA\r");
  EXPECT_EQ(sim::LongModeLine(3, 3), "c33\r");
  EXPECT_EQ(sim::LongModeLine(3, 0), "c30\r");
  EXPECT_EQ(sim::NLine(15), "n?\r");
  EXPECT_EQ(sim::QLine(0, 0), "q00\r");
  EXPECT_EQ(sim::QLine(0, 1), "q0A\r");
}

TEST(SimReportLines, EveryNibbleDecodesBack) {
  for (unsigned v = 0; v < 16; ++v) {
    const unsigned w = 15 - v;
    EXPECT_EQ(astro::DecodeNibble(sim::ModeLine(v)[1]), v);
    const std::string longMode = sim::LongModeLine(v, w);
    EXPECT_EQ(astro::DecodeNibble(longMode[1]), v);
    EXPECT_EQ(astro::DecodeNibble(longMode[2]), w);
    EXPECT_EQ(astro::DecodeNibble(sim::NLine(v)[1]), v);
    const std::string q = sim::QLine(w, v);
    EXPECT_EQ(astro::DecodeNibble(q[1]), w);
    EXPECT_EQ(astro::DecodeNibble(q[2]), v);
    for (const std::string& line : {sim::ModeLine(v), longMode, sim::NLine(v), q}) {
      EXPECT_EQ(line.back(), '\r');
      for (std::size_t i = 1; i + 1 < line.size(); ++i) EXPECT_TRUE(IsAlphabetCharacter(line[i]));
    }
  }
}

}  // namespace
