// The settings' text forms: atoi and sscanf reading rules, printf writing rules,
// and independence from the process locale.
#include "config/settings_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

namespace astro {
namespace {

TEST(SettingsTextTest, DecimalReadsLikeAtoi) {
  EXPECT_EQ(ParseDecimal("42"), 42);
  EXPECT_EQ(ParseDecimal("  \t-7xyz"), -7);
  EXPECT_EQ(ParseDecimal("+3"), 3);
  EXPECT_EQ(ParseDecimal("abc"), 0);
  EXPECT_EQ(ParseDecimal(""), 0);
  EXPECT_EQ(ParseDecimal("- 5"), 0);
  EXPECT_EQ(ParseDecimal("12 34"), 12);
  EXPECT_EQ(ParseDecimal("2147483647"), 2147483647);
  EXPECT_EQ(ParseDecimal("-2147483648"), -2147483647 - 1);
  // Beyond 32 bits the value saturates instead of wrapping.
  EXPECT_EQ(ParseDecimal("99999999999999999999"), 2147483647);
  EXPECT_EQ(ParseDecimal("-2147483649"), -2147483647 - 1);
}

TEST(SettingsTextTest, SwitchAndFactorScanLeavesUnreachedFieldsAlone) {
  std::int32_t enabled = 7;
  double factor = 9.5;
  EXPECT_EQ(ScanSwitchAndFactor("0 +2.5000", &enabled, &factor), 2);
  EXPECT_EQ(enabled, 0);
  EXPECT_EQ(factor, 2.5);

  enabled = 7;
  factor = 9.5;
  EXPECT_EQ(ScanSwitchAndFactor("1", &enabled, &factor), 1);
  EXPECT_EQ(enabled, 1);
  EXPECT_EQ(factor, 9.5);
  EXPECT_EQ(ScanSwitchAndFactor("0 x", &enabled, &factor), 1);
  EXPECT_EQ(enabled, 0);
  EXPECT_EQ(factor, 9.5);

  enabled = 7;
  EXPECT_EQ(ScanSwitchAndFactor("on 2.0", &enabled, &factor), 0);
  EXPECT_EQ(enabled, 7);
  EXPECT_EQ(factor, 9.5);
}

TEST(SettingsTextTest, FactorReadsLikeStrtod) {
  std::int32_t enabled = 0;
  double factor = 0;
  EXPECT_EQ(ScanSwitchAndFactor("1  +1.0000", &enabled, &factor), 2);
  EXPECT_EQ(factor, 1.0);
  EXPECT_EQ(ScanSwitchAndFactor("1\t-0.5e1junk", &enabled, &factor), 2);
  EXPECT_EQ(factor, -5.0);
  EXPECT_EQ(ScanSwitchAndFactor("1 .25", &enabled, &factor), 2);
  EXPECT_EQ(factor, 0.25);
  EXPECT_EQ(ScanSwitchAndFactor("1 0x1p3", &enabled, &factor), 2);
  EXPECT_EQ(factor, 8.0);
  EXPECT_EQ(ScanSwitchAndFactor("1 0xg", &enabled, &factor), 2);  // "0", then junk
  EXPECT_EQ(factor, 0.0);
  EXPECT_EQ(ScanSwitchAndFactor("1 3,5", &enabled, &factor), 2);  // a comma is no point
  EXPECT_EQ(factor, 3.0);
}

// strtod ends a hexadecimal number before an exponent that is not a sign and
// digits: "0x1p+-1" is 1 followed by junk, not 2 to the -1.
TEST(SettingsTextTest, HexFactorStopsBeforeAMalformedExponent) {
  const struct {
    const char* text;
    double factor;
  } cases[] = {{"1 0x1p+-1", 1.0}, {"1 0x1p+-1075", 1.0}, {"1 -0x1.8p-+2", -1.5},
               {"1 0x2P", 2.0},    {"1 0x1.8.8p1", 1.5},  {"1 0xA.8P-1x", 5.25}};
  for (const auto& c : cases) {
    std::int32_t enabled = 0;
    double factor = 0;
    EXPECT_EQ(ScanSwitchAndFactor(c.text, &enabled, &factor), 2) << c.text;
    EXPECT_EQ(factor, c.factor) << c.text;
  }
}

TEST(SettingsTextTest, FactorsThatAreNoFiniteNumberDoNotScan) {
  std::int32_t enabled = 0;
  double factor = 2.0;
  for (const char* text : {"1 inf", "1 -INFINITY", "1 nan", "1 1e999", "1 +-1", "1 -"}) {
    EXPECT_EQ(ScanSwitchAndFactor(text, &enabled, &factor), 1) << text;
    EXPECT_EQ(factor, 2.0) << text;
  }
}

TEST(SettingsTextTest, IntegerPairScan) {
  std::int32_t first = 5;
  std::int32_t second = 6;
  EXPECT_EQ(ScanIntegerPair("1 12", &first, &second), 2);
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 12);
  EXPECT_EQ(ScanIntegerPair("0", &first, &second), 1);
  EXPECT_EQ(first, 0);
  EXPECT_EQ(second, 12);
  EXPECT_EQ(ScanIntegerPair("", &first, &second), 0);
  EXPECT_EQ(first, 0);
}

TEST(SettingsTextTest, Formats) {
  EXPECT_EQ(FormatDecimal(-17), "-17");
  EXPECT_EQ(FormatDecimal(-2147483647 - 1), "-2147483648");
  EXPECT_EQ(FormatSwitchAndFactor(1, 1.0), "1  +1.0000");
  EXPECT_EQ(FormatSwitchAndFactor(0, 12.1825), "0 +12.1825");
  EXPECT_EQ(FormatSwitchAndFactor(1, 0.0821), "1  +0.0821");
  EXPECT_EQ(FormatSwitchAndFactor(1, -2.5), "1  -2.5000");
  EXPECT_EQ(FormatSwitchAndFactor(1, 123456.0), "1 +123456.0000");
  EXPECT_EQ(FormatSwitchAndFactor(1, 2.71828), "1  +2.7183");  // rounded, as printf does
  EXPECT_EQ(FormatIntegerPair(1, 12), "1 12");
}

TEST(SettingsTextTest, WrittenFactorsReadBackToFourDecimals) {
  for (int p = -50; p <= 50; ++p) {
    const double factor = std::exp(p / 20.0);
    std::int32_t enabled = 0;
    double back = 0;
    ASSERT_EQ(ScanSwitchAndFactor(FormatSwitchAndFactor(1, factor), &enabled, &back), 2);
    EXPECT_NEAR(back, factor, 0.00005) << p;
  }
}

// A locale with a decimal comma must change neither what is written nor how it is
// read. scripts/install-deps generates de_DE.UTF-8 for this.
TEST(SettingsTextTest, ProcessLocaleDoesNotMatter) {
  const char* chosen = nullptr;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8"}) {
    if (std::setlocale(LC_ALL, name)) {
      chosen = name;
      break;
    }
  }
  ASSERT_NE(chosen, nullptr) << "no locale with a decimal comma is installed";
  ASSERT_STREQ(std::localeconv()->decimal_point, ",");
  std::int32_t enabled = 0;
  double factor = 0;
  const std::string written = FormatSwitchAndFactor(1, 2.5);
  const int scanned = ScanSwitchAndFactor("0 +12.1825", &enabled, &factor);
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(written, "1  +2.5000");
  EXPECT_EQ(scanned, 2);
  EXPECT_EQ(factor, 12.1825);
}

}  // namespace
}  // namespace astro
