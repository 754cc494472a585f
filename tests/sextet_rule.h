// The controller's character for a 6-bit value, restated from the packet rule for
// the tests to hold the product's table against: the value plus 64 for an odd
// number of set bits, plus 128 for an even one, with three values carried by
// other characters.
#pragma once

namespace astro {
namespace testing {

inline unsigned RuleCharacter(unsigned value) {
  if (value == 28) return 0xDC;
  if (value == 32) return 0xE0;
  if (value == 62) return 0x3E;
  unsigned bits = 0;
  for (unsigned v = value; v != 0; v >>= 1) bits += v & 1u;
  return value + (bits % 2 == 1 ? 64u : 128u);
}

}  // namespace testing
}  // namespace astro
