// The client protocol header: motion packing and unpacking at the field limits,
// the command arguments, and the same results when the header is compiled as C.
#include "client/astrolab_client.h"

#include <gtest/gtest.h>

#include <cstring>

extern "C" int AstrolabClientCheckFromC(int32_t axes[6], uint32_t* divisors, uint32_t* deviceWord,
                                        int* commandCode, float* sensitivity);

namespace {

TEST(ClientProtocolTest, FarOutValuesAreSentAtTheFieldLimits) {
  // Fields 0, 1 (and 3, 4 in lParam) have 11 bits; field 2 (and 5) has 10.
  const std::uint32_t high = AstrolabPackMotionWord(5000, 5000, 5000);
  const std::uint32_t low = AstrolabPackMotionWord(-5000, -5000, -5000);
  EXPECT_EQ(AstrolabMotionField(high, 0), 1023);
  EXPECT_EQ(AstrolabMotionField(high, 1), 1023);
  EXPECT_EQ(AstrolabMotionField(high, 2), 511);
  EXPECT_EQ(AstrolabMotionField(low, 0), -1024);
  EXPECT_EQ(AstrolabMotionField(low, 1), -1024);
  EXPECT_EQ(AstrolabMotionField(low, 2), -512);
  // The exact bit layout: 1023 | 1023 << 11 | 511 << 22, and the sign bits alone.
  EXPECT_EQ(high, 0x3FFu | (0x3FFu << 11) | (0x1FFu << 22));
  EXPECT_EQ(low, 0x400u | (0x400u << 11) | (0x200u << 22));
}

TEST(ClientProtocolTest, EveryFieldValueSurvivesPackingBesideItsNeighbours) {
  // Each value against neighbours of opposite sign, so a field that leaks its sign
  // into the next one shows.
  for (std::int32_t v = -1024; v <= 1023; ++v) {
    const std::int32_t narrow = v / 2;  // -512..511
    const std::uint32_t word = AstrolabPackMotionWord(v, -v - 1, narrow);
    ASSERT_EQ(AstrolabMotionField(word, 0), v);
    ASSERT_EQ(AstrolabMotionField(word, 1), -v - 1);
    ASSERT_EQ(AstrolabMotionField(word, 2), narrow);
  }
}

TEST(ClientProtocolTest, AllZeroSampleIsTwoZeroWords) {
  EXPECT_EQ(AstrolabPackMotionWord(0, 0, 0), 0u);
  std::int32_t axes[6];
  AstrolabUnpackMotion(0, 0, axes);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(axes[i], 0);
}

TEST(ClientProtocolTest, UnpackGivesTheSixAxesInOrder) {
  std::int32_t axes[6];
  AstrolabUnpackMotion(AstrolabPackMotionWord(1, -2, 3), AstrolabPackMotionWord(-4, 5, -6), axes);
  const std::int32_t expected[6] = {1, -2, 3, -4, 5, -6};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(axes[i], expected[i]) << "axis " << i;
}

TEST(ClientProtocolTest, CommandArguments) {
  EXPECT_EQ(AstrolabMouseDivisors(20, 3), 3u * 65536u + 20u);
  EXPECT_EQ(AstrolabFirstDivisor(3 * 65536 + 20), 20);
  EXPECT_EQ(AstrolabSecondDivisor(3 * 65536 + 20), 3);
  EXPECT_EQ(AstrolabSensitivityValue(AstrolabSensitivityWord(1.5f)), 1.5f);
  EXPECT_EQ(AstrolabSensitivityWord(1.0f), 0x3F800000u);
}

TEST(ClientProtocolTest, ButtonMaskReading) {
  const std::uint32_t mask = 0x821;  // buttons 1, 6 and 12
  EXPECT_EQ(AstrolabButtonDown(mask, 1), 1);
  EXPECT_EQ(AstrolabButtonDown(mask, 2), 0);
  EXPECT_EQ(AstrolabButtonDown(mask, 6), 1);
  EXPECT_EQ(AstrolabButtonDown(mask, 12), 1);
  EXPECT_EQ(AstrolabButtonDown(0xFFFFFFFFu, 0), 0);
  EXPECT_EQ(AstrolabButtonDown(0xFFFFFFFFu, 13), 0);
}

TEST(ClientProtocolTest, DeviceCommandBytesGoMostSignificantFirstAndStopAtZero) {
  // 122, 13, 0, 0: "z" and carriage return.
  const std::uint32_t word = (122u << 24) | (13u << 16);
  EXPECT_EQ(AstrolabDeviceCommandWord("z\r"), word);
  char bytes[4];
  ASSERT_EQ(AstrolabDeviceCommandBytes(word, bytes), 2);
  EXPECT_EQ(std::string(bytes, 2), "z\r");
  // Four bytes are sent whole; bytes above 127 pass unchanged; nothing after a zero.
  EXPECT_EQ(AstrolabDeviceCommandBytes(AstrolabDeviceCommandWord("c3\xF1\r"), bytes), 4);
  EXPECT_EQ(std::string(bytes, 4), "c3\xF1\r");
  EXPECT_EQ(AstrolabDeviceCommandBytes(0x6D00330Du, bytes), 1);
  EXPECT_EQ(bytes[0], 'm');
  EXPECT_EQ(AstrolabDeviceCommandBytes(0, bytes), 0);
  // A longer text contributes only its first four bytes.
  EXPECT_EQ(AstrolabDeviceCommandWord("abcdef"), AstrolabDeviceCommandWord("abcd"));
}

TEST(ClientProtocolTest, CodesAreTheProtocolNumbers) {
  EXPECT_EQ(CmdSetMouseMode, 27600);
  EXPECT_EQ(CmdSetMouseDivisors, 27601);
  EXPECT_EQ(CmdSetClientWindow, 27695);
  EXPECT_EQ(CmdReportSensitivity, 27696);
  EXPECT_EQ(CmdBeep, 27697);
  EXPECT_EQ(CmdSetModeChangeable, 27699);
  EXPECT_EQ(CmdSetNChangeable, 27700);
  EXPECT_EQ(CmdEnablePanelMenu, 27701);
  EXPECT_EQ(CmdDeviceCommand, 27702);
  EXPECT_EQ(NoteDeviceMode, 17633);
  EXPECT_EQ(NoteDeviceN, 17634);
  EXPECT_EQ(NoteDeviceModeExtra, 17635);
  EXPECT_EQ(MouseModeDefault, 24);
  EXPECT_STREQ(ASTROLAB_WINDOW_CLASS, "ASTROLAB_3D_CONTROLLER");
}

TEST(ClientProtocolTest, CompiledAsCTheHeaderGivesTheSameResults) {
  std::int32_t axes[6];
  std::uint32_t divisors = 0;
  std::uint32_t deviceWord = 0;
  int code = 0;
  float sensitivity = 0;
  const int result = AstrolabClientCheckFromC(axes, &divisors, &deviceWord, &code, &sensitivity);
  const std::int32_t expected[6] = {1023, -1024, -3, -1, 1023, -512};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(axes[i], expected[i]) << "axis " << i;
  EXPECT_EQ(divisors, 3u * 65536u + 20u);
  EXPECT_EQ(deviceWord, (122u << 24) | (13u << 16));
  EXPECT_EQ(code, 27702);
  EXPECT_EQ(sensitivity, 0.25f);
  EXPECT_EQ(result, 1 + 24);
}

}  // namespace
