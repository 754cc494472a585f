// The bitmap button's text fitting, with a fake measure: every character is 6 wide
// except 'W', which is 10. A text of n plain characters measures 6n, and it fits
// a width w while 6n * 5 / 4 < w.
#include "ui/text_fitting.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace astro::testing {
namespace {

int FakeMeasure(const std::string& text) {
  int width = 0;
  for (char c : text) width += c == 'W' ? 10 : 6;
  return width;
}

std::string Fit(const std::string& text, int width) {
  return FitButtonText(text, width, FakeMeasure);
}

TEST(FitButtonText, LongTextLosesItsEndAndGainsDots) {
  // 5 characters: 30 * 5 / 4 = 37 < 40 fits; 6: 36 * 5 / 4 = 45 does not.
  EXPECT_EQ("ABCDE...", Fit("ABCDEFGHIJ", 40));
  // 37 is not less than 37: one more goes.
  EXPECT_EQ("ABCD...", Fit("ABCDEFGHIJ", 37));
  EXPECT_EQ("ABCDE...", Fit("ABCDEFGHIJ", 38));
}

TEST(FitButtonText, MeasuresTheShortenedTextItself) {
  // "iiiWWW" = 18 + 30 = 48 -> 60; "iiiWW" = 38 -> 47; "iiiW" = 28 -> 35 < 40.
  EXPECT_EQ("iiiW...", Fit("iiiWWW", 40));
  // "WWWiii" = 48 -> 60; "WWWii" = 42 -> 52; "WWWi" = 36 -> 45; "WWW" = 30 -> 37 < 40.
  EXPECT_EQ("WWW...", Fit("WWWiii", 40));
}

TEST(FitButtonText, FittingTextIsUnchanged) {
  EXPECT_EQ("ABC", Fit("ABC", 40));    // 18 * 5 / 4 = 22
  EXPECT_EQ("ABCD", Fit("ABCD", 31));  // 24 * 5 / 4 = 30 < 31
  EXPECT_EQ("ABC...", Fit("ABCD", 30));
}

TEST(FitButtonText, NoWidthLeavesOnlyTheDots) {
  EXPECT_EQ("...", Fit("AB", 0));
  EXPECT_EQ("...", Fit("A very long key sequence", -5));
  // A width of 1: even one character (6 * 5 / 4 = 7) is too wide.
  EXPECT_EQ("...", Fit("X", 1));
}

TEST(FitButtonText, HugeWidthsDoNotOverflowTheProduct) {
  // INT_MAX * 5 / 4 is far above 100 once computed without overflow.
  const auto huge = [](const std::string& t) { return t.empty() ? 0 : INT_MAX; };
  EXPECT_EQ("...", FitButtonText("AB", 100, huge));
  EXPECT_EQ("AB", FitButtonText("AB", INT_MAX, [](const std::string&) { return 1000; }));
}

TEST(FitButtonText, EmptyTextStaysEmpty) {
  EXPECT_EQ("", Fit("", 100));
  EXPECT_EQ("", Fit("", 0));
  EXPECT_EQ("", Fit("", -1));
}

}  // namespace
}  // namespace astro::testing
