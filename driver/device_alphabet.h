// The controller's character codes: the 4-bit alphabet used by every command and
// report, and the 6-bit check table of the short motion packet. Shared by the
// driver's decoder and the simulated controller, so both speak the same bytes.
#pragma once

#include <cstdint>

namespace astro {

constexpr char kCarriageReturn = 13;

// One character per 4-bit value 0..15.
constexpr char kDeviceAlphabet[17] = "0AB3D56GH9:K<MN?";

// The only valid character for each 6-bit value 0..63 of a short motion packet.
extern const std::uint8_t kSextetCharacters[64];

inline char EncodeNibble(unsigned value) { return kDeviceAlphabet[value & 15u]; }

// A received character carries its value in its low four bits; it is never checked
// against the alphabet.
inline unsigned DecodeNibble(char c) { return static_cast<unsigned char>(c) & 15u; }

// c AND 63 when c is the table's character for that value, else 0.
unsigned DecodeSextet(char c);

}  // namespace astro
