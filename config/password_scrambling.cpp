#include "config/password_scrambling.h"

namespace astro {
namespace {

PasswordBytes Shift(const char* text, int direction) {
  PasswordBytes out{};
  for (int i = 0; i < kPasswordMaxLength && text[i] != '\0'; ++i) {
    const unsigned byte = static_cast<unsigned char>(text[i]);
    const unsigned key = static_cast<unsigned char>(kPasswordKey[i]);
    out[i] = static_cast<char>((direction > 0 ? byte + key : byte + 256u - key) & 0xFFu);
  }
  return out;
}

}  // namespace

PasswordBytes ScramblePassword(const char* text) {
  return Shift(text, +1);
}

PasswordBytes UnscramblePassword(const char* text) {
  return Shift(text, -1);
}

bool PasswordStorable(const char* text) {
  int length = 0;
  while (length < kPasswordField && text[length] != '\0') ++length;
  if (length > kPasswordMaxLength) return false;
  for (int i = 0; i < length; ++i) {
    const unsigned sum =
        static_cast<unsigned char>(text[i]) + static_cast<unsigned char>(kPasswordKey[i]);
    if ((sum & 0xFFu) == 0) return false;
  }
  return true;
}

}  // namespace astro
