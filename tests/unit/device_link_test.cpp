// The receive buffer, line cutting and every line the controller sends.
#include "driver/device_link.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "driver/device_alphabet.h"

namespace astro {
namespace {

using Axes = std::array<int, kAxisCount>;

// Records every hand-off in order; a motion records the axes and the Hintview
// flags as they are at the moment of delivery.
class RecordingHost : public DeviceLinkHost {
 public:
  RecordingHost(DeliveryContext& context, SettingsRecord& settings, RuntimeFlags& flags)
      : context_(context), settings_(settings), flags_(flags) {}

  std::vector<std::string> events;
  std::vector<Axes> motions;
  bool panelOpen = true;

  void SendCommand(const char* text, std::size_t length) override {
    events.push_back("send " + std::string(text, length));
  }
  void DeliverMotion() override {
    Axes axes;
    for (int i = 0; i < kAxisCount; ++i) axes[i] = context_.axis[i];
    motions.push_back(axes);
    events.push_back("motion hintview " + std::to_string(settings_.hintviewAllowed) +
                     std::to_string(flags_.hintviewActive) +
                     std::to_string(flags_.hintviewCapable));
  }
  void DeliverButtons(std::uint32_t mask) override {
    events.push_back("buttons " + std::to_string(mask));
  }
  bool PanelOpen() override { return panelOpen; }
  void PostPanelNote(std::uint32_t code, std::int32_t value) override {
    events.push_back("note " + std::to_string(code) + " " + std::to_string(value));
  }
  void RepaintPanel() override { events.push_back("repaint"); }

 private:
  DeliveryContext& context_;
  SettingsRecord& settings_;
  RuntimeFlags& flags_;
};

char Sextet(int value) {
  return static_cast<char>(kSextetCharacters[value & 63]);
}

// A short motion line as the controller builds it: a high and a low sextet per
// axis and the 12-bit sum of the twelve raw bytes.
std::string ShortLine(const Axes& axes) {
  std::string line = "d";
  unsigned sum = 0;
  for (int v : axes) {
    const int biased = v + 2048;  // high sextet carries value / 64 + 32
    const char high = Sextet(biased >> 6);
    const char low = Sextet(biased & 63);
    line += high;
    line += low;
    sum += static_cast<unsigned char>(high) + static_cast<unsigned char>(low);
  }
  line += Sextet(static_cast<int>(sum >> 6));
  line += Sextet(static_cast<int>(sum & 63));
  return line + "\r";
}

std::string LongLine(const Axes& axes) {
  std::string line = "d";
  for (int v : axes) {
    const unsigned biased = static_cast<unsigned>(v + 32768);
    for (int shift = 12; shift >= 0; shift -= 4) line += EncodeNibble(biased >> shift);
  }
  return line + "\r";
}

class DeviceLinkTest : public ::testing::Test {
 protected:
  DeliveryContext context;
  SettingsRecord settings;
  RuntimeFlags flags;
  StoredCommands commands;
  RecordingHost host{context, settings, flags};
  DeviceLink link{context, settings, flags, commands, host};

  void SetUp() override { link.Clear(); }

  void Feed(const std::string& bytes) {
    ASSERT_EQ(link.Append(bytes.data(), bytes.size()), bytes.size());
    link.DispatchLines();
  }
  void SetAxes(int value) {
    for (auto& a : context.axis) a = value;
  }
  std::vector<std::string> Handled() const { return host.events; }
};

using Events = std::vector<std::string>;

// ---- motion packets ----

TEST_F(DeviceLinkTest, ShortPacketOfTheZeroSampleDecodesToZeroAxes) {
  SetAxes(7);
  std::string line = "d";
  for (int i = 0; i < 6; ++i) line += "\xE0\x80";
  line += "\xA1\x80\r";  // 33 * 64 + 0 = 2112 = 6 * (0xE0 + 0x80)
  Feed(line);
  ASSERT_EQ(host.motions.size(), 1u);
  EXPECT_EQ(host.motions[0], (Axes{0, 0, 0, 0, 0, 0}));
}

TEST_F(DeviceLinkTest, ShortPacketWithWrongChecksumZeroesAxesAndIsDropped) {
  SetAxes(7);
  std::string line = "d";
  for (int i = 0; i < 6; ++i) line += "\xE0\x80";
  line += "\xA1\x41\r";  // checksum 2113
  Feed(line);
  EXPECT_TRUE(Handled().empty());
  for (int a : context.axis) EXPECT_EQ(a, 0);

  // A sample that would decode to non-zero axes is dropped just the same.
  SetAxes(7);
  std::string good = ShortLine({100, -100, 2047, -2048, 1, -1});
  good[13] = Sextet(0);
  Feed(good);
  EXPECT_TRUE(Handled().empty());
  for (int a : context.axis) EXPECT_EQ(a, 0);
}

TEST_F(DeviceLinkTest, ShortPacketCarriesTheWholeRangeOfEveryAxis) {
  const std::vector<Axes> samples = {{-2048, 2047, 0, 1, -1, 1000},
                                     {63, 64, -64, -65, 2000, -2000}};
  for (const Axes& sample : samples) Feed(ShortLine(sample));
  EXPECT_EQ(host.motions, samples);
}

TEST_F(DeviceLinkTest, ShortPacketReadsACharacterOutsideTheCheckTableAsZero) {
  // 0x60 has the low six bits of 32 but is not its table character (0xE0).
  std::string line = "d";
  unsigned sum = 0;
  const char pair[2] = {'\x60', '\x80'};
  for (int i = 0; i < 6; ++i) {
    line.append(pair, 2);
    sum += 0x60 + 0x80;
  }
  line += Sextet(static_cast<int>(sum >> 6));
  line += Sextet(static_cast<int>(sum & 63));
  Feed(line + "\r");
  ASSERT_EQ(host.motions.size(), 1u);
  EXPECT_EQ(host.motions[0], (Axes{-2048, -2048, -2048, -2048, -2048, -2048}));
}

TEST_F(DeviceLinkTest, LongPacketExamples) {
  settings.hintviewAllowed = 0;
  Feed("d800080008000800080008000\r");
  Feed("d0000800080008000800080008000\r");  // 29 characters: not a motion packet
  Feed("d000080008000800080008000\r");
  Feed("d80008000800080008000????\r");
  Feed(LongLine({-32768, 32767, 1, -1, 4096, -4097}));
  EXPECT_EQ(host.motions, (std::vector<Axes>{{0, 0, 0, 0, 0, 0},
                                             {-32768, 0, 0, 0, 0, 0},
                                             {0, 0, 0, 0, 0, 32767},
                                             {-32768, 32767, 1, -1, 4096, -4097}}));
}

TEST_F(DeviceLinkTest, LongPacketSwitchesHintviewOffAndRepaintsBeforeDelivery) {
  settings.hintviewAllowed = 1;
  flags.hintviewActive = 1;
  flags.hintviewCapable = 1;
  Feed("d800080008000800080008000\r");
  EXPECT_EQ(Handled(), (Events{"repaint", "motion hintview 000"}));

  // Already off: no second repaint.
  Feed("d800080008000800080008000\r");
  EXPECT_EQ(Handled().size(), 3u);
  EXPECT_EQ(Handled().back(), "motion hintview 000");
}

TEST_F(DeviceLinkTest, LongPacketWithClosedPanelSwitchesHintviewOffWithoutRepaint) {
  host.panelOpen = false;
  settings.hintviewAllowed = 5;  // any value but 0 counts as allowed
  flags.hintviewActive = 1;
  flags.hintviewCapable = 1;
  Feed("d800080008000800080008000\r");
  EXPECT_EQ(Handled(), (Events{"motion hintview 000"}));
}

TEST_F(DeviceLinkTest, LongPacketLeavesHintviewFlagsAloneWhenNotAllowed) {
  settings.hintviewAllowed = 0;
  flags.hintviewActive = 1;
  flags.hintviewCapable = 1;
  Feed("d800080008000800080008000\r");
  EXPECT_EQ(Handled(), (Events{"motion hintview 011"}));
}

TEST_F(DeviceLinkTest, ShortPacketDoesNotTouchHintview) {
  settings.hintviewAllowed = 1;
  flags.hintviewActive = 1;
  flags.hintviewCapable = 1;
  Feed(ShortLine({1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(Handled(), (Events{"motion hintview 111"}));
}

TEST_F(DeviceLinkTest, MotionLinesOfOtherLengthsAreIgnored) {
  SetAxes(9);
  settings.hintviewAllowed = 1;
  const std::string shortLine = ShortLine({1, 2, 3, 4, 5, 6});
  const std::string body = shortLine.substr(0, shortLine.size() - 1);
  for (const std::string& line :
       {std::string("d"), body.substr(0, 14), body + "A", std::string("d") + std::string(23, '8'),
        std::string("d") + std::string(25, '8')}) {
    Feed(line + "\r");
  }
  EXPECT_TRUE(Handled().empty());
  for (int a : context.axis) EXPECT_EQ(a, 9);
  EXPECT_EQ(settings.hintviewAllowed, 1);
}

// ---- button reports ----

TEST_F(DeviceLinkTest, ButtonReportsCarryTwelveButtons) {
  Feed("kA00\r");
  Feed("k000\r");
  Feed("k?MN\r");     // 15 + 13 * 16 + 14 * 256
  Feed("k0A0\r");     // button 5
  Feed("k00H\r");     // button 12
  Feed("kA00xyz\r");  // trailing characters do not matter
  EXPECT_EQ(Handled(), (Events{"buttons 1", "buttons 0", "buttons 3807", "buttons 16",
                               "buttons 2048", "buttons 1"}));
}

TEST_F(DeviceLinkTest, ShortButtonReportReadsMissingCharactersAsZero) {
  // The first line leaves "456789" behind the second line's terminator in the
  // buffer; the short report must not pick those bytes up.
  Feed("k123456789\rk\r");
  Feed("kD\r");
  EXPECT_EQ(Handled(), (Events{"buttons 801", "buttons 0", "buttons 4"}));
}

// ---- mode reports ----

TEST_F(DeviceLinkTest, ModeReportSetsTheModeSwitchesAndClearsHintviewCapable) {
  settings.modeChangeable = 2;
  flags.hintviewCapable = 1;
  Feed("c3A\r");
  Feed("mG\r");  // 7: rotation, translation, dominant
  EXPECT_EQ(link.Reports().modeNibble, 7);
  EXPECT_EQ(link.Reports().secondNibble, 0);
  EXPECT_EQ(flags.hintviewCapable, 0);
  EXPECT_EQ(flags.modeRotation, 1);
  EXPECT_EQ(flags.modeTranslation, 1);
  EXPECT_EQ(flags.modeDominant, 1);
  Feed("m<\r");  // 12: only bit 2 of the low three
  EXPECT_EQ(flags.modeRotation, 0);
  EXPECT_EQ(flags.modeTranslation, 0);
  EXPECT_EQ(flags.modeDominant, 1);
}

TEST_F(DeviceLinkTest, ModeReportWhenNotChangeableRestoresTheStoredMode) {
  settings.modeChangeable = 0;
  Feed("mA\r");
  Feed("m3\r");
  Feed("m#\r");  // same nibble as "3", but another character
  EXPECT_EQ(Handled(), (Events{"send m3\r", "note 17633 3", "send m3\r"}));
  EXPECT_STREQ(commands.mode, "m3\r");
  EXPECT_STREQ(commands.longModeResend, "c33\r");
  EXPECT_EQ(link.Reports().modeNibble, 3);
  EXPECT_EQ(flags.modeRotation, 1);  // the switches follow the report even when re-sent
}

TEST_F(DeviceLinkTest, ModeReportWhenChangeableIsAdopted) {
  settings.modeChangeable = 1;
  Feed("mA\r");
  EXPECT_EQ(Handled(), (Events{"note 17633 1"}));
  EXPECT_STREQ(commands.mode, "mA\r");
  EXPECT_STREQ(commands.longModeResend, "cA3\r");
  EXPECT_STREQ(commands.longModeStartup, "c33\r");
  // A character outside the alphabet is adopted as the alphabet's character.
  Feed("mE\r");  // 'E' carries 5
  EXPECT_STREQ(commands.mode, "m5\r");
}

TEST_F(DeviceLinkTest, ModeReportWithOtherChangeableValueNeitherSendsNorAdopts) {
  settings.modeChangeable = 2;
  Feed("mA\r");
  EXPECT_EQ(Handled(), (Events{"note 17633 1"}));
  EXPECT_STREQ(commands.mode, "m3\r");
  EXPECT_STREQ(commands.longModeResend, "c33\r");
}

TEST_F(DeviceLinkTest, ModeReportPostsNothingToAClosedPanel) {
  host.panelOpen = false;
  settings.modeChangeable = 1;
  Feed("mA\r");
  settings.modeChangeable = 0;
  Feed("m3\r");
  EXPECT_EQ(Handled(), (Events{"send mA\r"}));
}

TEST_F(DeviceLinkTest, EmptyModeReportReadsAsZeroAndDiffers) {
  settings.modeChangeable = 0;
  Feed("m\r");
  EXPECT_EQ(Handled(), (Events{"send m3\r"}));
  EXPECT_EQ(link.Reports().modeNibble, 0);
}

// ---- long mode reports ----

TEST_F(DeviceLinkTest, LongModeReportWhenNotChangeable) {
  settings.modeChangeable = 0;
  Feed("c30\r");  // wanted second character is "B", stored one is "3"
  EXPECT_EQ(Handled(), (Events{"send c33\r"}));
  EXPECT_EQ(flags.hintviewCapable, 0);
  host.events.clear();

  Feed("c3A\r");  // bit 0 kept, bit 1 on: "3" as stored
  EXPECT_EQ(Handled(), (Events{"note 17633 3", "note 17635 1"}));
  EXPECT_EQ(flags.hintviewCapable, 1);
  host.events.clear();

  Feed("cA3\r");  // another mode
  Feed("c3?\r");  // 15: wanted is alphabet[3] = "3" again
  EXPECT_EQ(Handled(), (Events{"send c33\r", "note 17633 3", "note 17635 15"}));
  EXPECT_STREQ(commands.longModeResend, "c33\r");
  EXPECT_STREQ(commands.mode, "m3\r");
}

TEST_F(DeviceLinkTest, LongModeReportWhenChangeableIsAdopted) {
  settings.modeChangeable = 1;
  flags.hintviewCapable = 1;
  Feed("cDN\r");  // mode 4 (dominant only), second nibble 14: Hintview bit off
  EXPECT_EQ(Handled(), (Events{"note 17633 4", "note 17635 14"}));  // as received
  EXPECT_STREQ(commands.mode, "mD\r");
  EXPECT_STREQ(commands.longModeResend, "cDB\r");
  EXPECT_STREQ(commands.longModeStartup, "c33\r");
  EXPECT_EQ(link.Reports().modeNibble, 4);
  EXPECT_EQ(link.Reports().secondNibble, 14);
  EXPECT_EQ(flags.hintviewCapable, 0);
  EXPECT_EQ(flags.modeRotation, 0);
  EXPECT_EQ(flags.modeTranslation, 0);
  EXPECT_EQ(flags.modeDominant, 1);

  Feed("c5A\r");
  EXPECT_STREQ(commands.longModeResend, "c53\r");
  EXPECT_EQ(flags.hintviewCapable, 1);
}

TEST_F(DeviceLinkTest, ReSendsUseTheAdoptedCommands) {
  settings.modeChangeable = 1;
  Feed("c50\r");
  settings.modeChangeable = 0;
  host.events.clear();
  Feed("c33\r");
  Feed("m3\r");
  EXPECT_EQ(Handled(), (Events{"send c5B\r", "send m5\r"}));
}

TEST_F(DeviceLinkTest, LongModeReportWithOtherChangeableValueNeitherSendsNorAdopts) {
  settings.modeChangeable = -1;
  Feed("c50\r");
  EXPECT_EQ(Handled(), (Events{"note 17633 5", "note 17635 0"}));
  EXPECT_STREQ(commands.longModeResend, "c33\r");
  EXPECT_STREQ(commands.mode, "m3\r");
}

// ---- n and q reports ----

TEST_F(DeviceLinkTest, NReportRestoresTheNSettingUnlessAdopting) {
  flags.nAdoptFlag = 0;
  Feed("n?\r");
  Feed("nA\r");
  EXPECT_EQ(Handled(), (Events{"note 17634 15", "note 17634 1", "send n?\r"}));
  EXPECT_EQ(link.Reports().nNibble, 1);
  host.events.clear();

  flags.nAdoptFlag = 1;
  Feed("nA\r");
  EXPECT_EQ(Handled(), (Events{"note 17634 1"}));
  EXPECT_STREQ(commands.n, "n?\r");

  host.panelOpen = false;
  flags.nAdoptFlag = 0;
  host.events.clear();
  Feed("n/\r");  // carries 15, but is not "?"
  EXPECT_EQ(Handled(), (Events{"send n?\r"}));
}

TEST_F(DeviceLinkTest, QReportRestoresTheQSetting) {
  Feed("q00\r");
  EXPECT_TRUE(Handled().empty());
  Feed("q01\r");
  Feed("q10\r");
  Feed("q0\r");  // the missing character reads as 0, not "0"
  Feed("q00junk\r");
  EXPECT_EQ(Handled(), (Events{"send q00\r", "send q00\r", "send q00\r"}));
}

// ---- cutting lines ----

TEST_F(DeviceLinkTest, LinesOfOneReadAreHandledInOrder) {
  Feed("kA00\rk000\rq01\r");
  EXPECT_EQ(Handled(), (Events{"buttons 1", "buttons 0", "send q00\r"}));
  EXPECT_EQ(link.TextLength(), 0u);
}

TEST_F(DeviceLinkTest, ALineSplitAcrossReadsIsHandledOnceComplete) {
  Feed("kA0");
  EXPECT_TRUE(Handled().empty());
  EXPECT_STREQ(link.Buffer(), "kA0");
  Feed("0\rk0");
  EXPECT_EQ(Handled(), (Events{"buttons 1"}));
  EXPECT_STREQ(link.Buffer(), "k0");
}

TEST_F(DeviceLinkTest, OtherLinesAreIgnored) {
  Feed("\r\rb9\rpAA\rvQ ASTROLAB\rz\rx123\rK100\rD800080008000800080008000\r");
  EXPECT_TRUE(Handled().empty());
  EXPECT_EQ(link.TextLength(), 0u);
}

TEST_F(DeviceLinkTest, PartialLineOf128CharactersStaysAndIsCompleted) {
  const std::string partial = "kA00" + std::string(124, 'x');
  Feed(partial);
  EXPECT_EQ(link.TextLength(), 128u);
  EXPECT_EQ(std::string(link.Buffer()), partial);
  Feed("\r");
  EXPECT_EQ(Handled(), (Events{"buttons 1"}));
}

TEST_F(DeviceLinkTest, PartialLineOf129CharactersIsDiscarded) {
  Feed("kA00\r" + ("kA00" + std::string(125, 'x')));
  EXPECT_EQ(Handled(), (Events{"buttons 1"}));
  EXPECT_EQ(link.TextLength(), 0u);
  const char* buffer = link.Buffer();
  for (std::size_t i = 0; i < DeviceLink::kBufferSize; ++i) ASSERT_EQ(buffer[i], 0) << i;
  Feed("\r");
  Feed("k000\r");
  EXPECT_EQ(Handled(), (Events{"buttons 1", "buttons 0"}));
}

TEST_F(DeviceLinkTest, AppendNeverTakesMoreThanFits) {
  std::string bytes(300, 'x');
  EXPECT_EQ(link.FreeCapacity(), 255u);
  EXPECT_EQ(link.Append(bytes.data(), bytes.size()), 255u);
  EXPECT_EQ(link.TextLength(), 255u);
  EXPECT_EQ(link.FreeCapacity(), 0u);
  EXPECT_EQ(link.Buffer()[255], 0);
  EXPECT_EQ(link.Append(bytes.data(), bytes.size()), 0u);
  link.DispatchLines();
  EXPECT_EQ(link.TextLength(), 0u);

  // A line inside a full read is handled and the rest stays for the next one.
  bytes = "kA00\r" + std::string(295, 'y');
  EXPECT_EQ(link.Append(bytes.data(), bytes.size()), 255u);
  link.DispatchLines();
  EXPECT_EQ(Handled(), (Events{"buttons 1"}));
  EXPECT_EQ(link.TextLength(), 0u);  // 250 characters without an end: dropped

  bytes = std::string(100, 'y') + "\rkA00";
  EXPECT_EQ(link.Append(bytes.data(), bytes.size()), bytes.size());
  EXPECT_EQ(link.FreeCapacity(), 255u - bytes.size());
  link.DispatchLines();
  EXPECT_STREQ(link.Buffer(), "kA00");
  EXPECT_EQ(link.FreeCapacity(), 251u);
}

TEST_F(DeviceLinkTest, AZeroByteIsDroppedAloneAndTheBytesBehindItCount) {
  // A press, a stray zero byte, then the release in the same read: the release
  // must not be lost, or the button would stay held.
  const char bytes[] = "kA00\r\0k000\r";
  EXPECT_EQ(link.Append(bytes, sizeof bytes - 1), sizeof bytes - 1);
  link.DispatchLines();
  EXPECT_EQ(Handled(), (Events{"buttons 1", "buttons 0"}));
  EXPECT_EQ(link.TextLength(), 0u);

  // Inside a line and leading: the line reads as if the zeros were not there.
  const char inside[] =
      "\0kA\0"
      "0\0"
      "0\r";
  EXPECT_EQ(link.Append(inside, sizeof inside - 1), sizeof inside - 1);
  EXPECT_STREQ(link.Buffer(), "kA00\r");
  link.DispatchLines();
  EXPECT_EQ(Handled(), (Events{"buttons 1", "buttons 0", "buttons 1"}));

  // Zero bytes take no room in the buffer.
  const std::string zeros(300, '\0');
  EXPECT_EQ(link.Append(zeros.data(), zeros.size()), 255u);
  EXPECT_EQ(link.TextLength(), 0u);
}

TEST_F(DeviceLinkTest, ClearEmptiesTheBuffer) {
  Feed("kA0");
  link.Clear();
  EXPECT_EQ(link.TextLength(), 0u);
  Feed("0\r");
  EXPECT_TRUE(Handled().empty());
}

}  // namespace
}  // namespace astro
