// The stored form of the lock password: each character shifted by the character
// of a fixed key at its position, modulo 256.
#pragma once

#include <array>

#include "config/settings_record.h"

namespace astro {

using PasswordBytes = std::array<char, kPasswordField>;

// The password in force until the user sets one (a stored password equal to it
// means that none has been set).
constexpr char kDefaultPassword[] = "kto5fenrw!";
constexpr char kPasswordKey[] = "ASTROLABASTROLABASTR";
// The field holds at most 19 characters and a terminating zero.
constexpr int kPasswordMaxLength = kPasswordField - 1;

// The scrambled text, zero-filled behind it: each of the text's characters up to
// its terminator (at most 19) plus the key character at its position, modulo 256.
PasswordBytes ScramblePassword(const char* text);
// The reverse, with subtraction, of the characters up to the terminator (at most 19).
PasswordBytes UnscramblePassword(const char* text);

// Whether the password can be stored whole and read back the same: it has at most
// 19 characters within the field, and no character scrambles to a zero byte (that
// would end the stored text early). The new-password dialog refuses the others;
// SaveSettings never writes them. Reads at most 20 bytes of text, so the record's
// field is safe even without its terminator.
bool PasswordStorable(const char* text);

}  // namespace astro
