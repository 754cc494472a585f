// The lines the controller sends, built from the same character tables the
// driver decodes with.
#include <algorithm>
#include <initializer_list>
#include <string>

#include "driver/device_alphabet.h"
#include "sim/simulated_controller.h"

namespace sim {
namespace {

char Sextet(unsigned value) {
  return static_cast<char>(astro::kSextetCharacters[value & 63u]);
}

// Out-of-range values are clamped: a wrapped value would look like a valid
// packet carrying a different motion.
int Clamp(int value, int low, int high) {
  return std::min(std::max(value, low), high);
}

std::string Line(char letter, std::initializer_list<unsigned> nibbles) {
  std::string line(1, letter);
  for (unsigned nibble : nibbles) line.push_back(astro::EncodeNibble(nibble));
  line.push_back(astro::kCarriageReturn);
  return line;
}

}  // namespace

std::string ShortMotionLine(const Axes& axes, bool corruptChecksum) {
  std::string line = "d";
  unsigned sum = 0;
  for (int axis : axes) {
    // Decoded as (high - 32) * 64 + low, so the offset value splits into two sextets.
    const unsigned offset = static_cast<unsigned>(Clamp(axis, -2048, 2047) + 2048);
    for (char c : {Sextet(offset >> 6), Sextet(offset)}) {
      line.push_back(c);
      sum += static_cast<unsigned char>(c);
    }
  }
  // Twelve bytes of at most 0xFF sum to less than 4096, so the checksum always fits.
  if (corruptChecksum) sum = (sum + 1) & 4095u;
  line.push_back(Sextet(sum >> 6));
  line.push_back(Sextet(sum));
  line.push_back(astro::kCarriageReturn);
  return line;
}

std::string LongMotionLine(const Axes& axes) {
  std::string line = "d";
  for (int axis : axes) {
    // Decoded as (first - 8) * 4096 + the lower three nibbles: the offset value's nibbles.
    const unsigned offset = static_cast<unsigned>(Clamp(axis, -32768, 32767) + 32768);
    for (int shift = 12; shift >= 0; shift -= 4)
      line.push_back(astro::EncodeNibble(offset >> shift));
  }
  line.push_back(astro::kCarriageReturn);
  return line;
}

std::string ButtonLine(std::uint32_t mask) {
  return Line('k', {mask, mask >> 4, mask >> 8});
}

std::string ModeLine(unsigned mode) {
  return Line('m', {mode});
}

std::string LongModeLine(unsigned mode, unsigned second) {
  return Line('c', {mode, second});
}

std::string NLine(unsigned value) {
  return Line('n', {value});
}

std::string QLine(unsigned first, unsigned second) {
  return Line('q', {first, second});
}

}  // namespace sim
