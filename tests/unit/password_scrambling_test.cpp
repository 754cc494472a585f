// The password's stored form and which passwords can be stored whole.
#include "config/password_scrambling.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace astro {
namespace {

TEST(PasswordScramblingTest, DefaultPasswordScramblesByTheKey) {
  const PasswordBytes scrambled = ScramblePassword(kDefaultPassword);
  // 'k' + 'A' = 0x6B + 0x41, 't' + 'S', ..., '!' + 'S' (the tenth key character).
  EXPECT_EQ(static_cast<unsigned char>(scrambled[0]), 0xACu);
  EXPECT_EQ(static_cast<unsigned char>(scrambled[1]), 0xC7u);
  EXPECT_EQ(static_cast<unsigned char>(scrambled[9]), 0x74u);
  for (int i = 10; i < kPasswordField; ++i) EXPECT_EQ(scrambled[i], '\0');
  EXPECT_STREQ(UnscramblePassword(scrambled.data()).data(), kDefaultPassword);
}

TEST(PasswordScramblingTest, EveryByteAtEveryPositionRoundTripsUnlessItScramblesToZero) {
  for (int position = 0; position < kPasswordMaxLength; ++position) {
    int unstorable = 0;
    for (int byte = 1; byte < 256; ++byte) {
      char text[kPasswordField];
      std::memset(text, 'a', sizeof text);
      text[position] = static_cast<char>(byte);
      text[kPasswordMaxLength] = '\0';
      const PasswordBytes scrambled = ScramblePassword(text);
      const bool zero = scrambled[position] == '\0';
      EXPECT_EQ(PasswordStorable(text), !zero) << position << " " << byte;
      if (zero) {
        ++unstorable;
        EXPECT_EQ(byte + static_cast<unsigned char>(kPasswordKey[position]), 256);
        continue;
      }
      ASSERT_EQ(std::strlen(scrambled.data()), static_cast<std::size_t>(kPasswordMaxLength));
      ASSERT_STREQ(UnscramblePassword(scrambled.data()).data(), text) << position << " " << byte;
    }
    EXPECT_EQ(unstorable, 1) << position;  // exactly one byte value per position
  }
}

TEST(PasswordScramblingTest, AtMostNineteenCharactersAreScrambled) {
  const std::string twenty(20, 'x');
  const PasswordBytes scrambled = ScramblePassword(twenty.c_str());
  EXPECT_EQ(std::strlen(scrambled.data()), 19u);
  EXPECT_EQ(ScramblePassword("")[0], '\0');
  EXPECT_EQ(UnscramblePassword("")[0], '\0');
}

TEST(PasswordScramblingTest, StorablePasswords) {
  EXPECT_TRUE(PasswordStorable(""));
  EXPECT_TRUE(PasswordStorable(kDefaultPassword));
  EXPECT_TRUE(PasswordStorable(std::string(19, 'x').c_str()));
  EXPECT_FALSE(PasswordStorable(std::string(20, 'x').c_str()));
  // 0xBF + 'A' (0x41) = 256: scrambles to a zero byte.
  EXPECT_FALSE(PasswordStorable("\xBF"));
  EXPECT_TRUE(PasswordStorable("x\xBF"));  // at position 1 the key is 'S'
  // A field of 20 bytes without a terminator is read no further than its 20 bytes
  // (on the heap, so that the sanitizer sees a read beyond it).
  std::unique_ptr<char[]> field(new char[kPasswordField]);
  std::memset(field.get(), 'y', kPasswordField);
  EXPECT_FALSE(PasswordStorable(field.get()));
}

}  // namespace
}  // namespace astro
