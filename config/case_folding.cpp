#include "config/case_folding.h"

#include <algorithm>

namespace astro {

unsigned char FoldedCapital(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 'a' + 'A');
  if (c == 0x9A || c == 0x9C || c == 0x9E) return static_cast<unsigned char>(c - 0x10);  // š œ ž
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 0x20);  // à..þ
  if (c == 0xFF) return 0x9F;                                                            // ÿ
  return c;
}

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldedCapital(static_cast<unsigned char>(a[i])) !=
        FoldedCapital(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

bool NameBeforeIgnoringCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return FoldedCapital(static_cast<unsigned char>(x)) <
           FoldedCapital(static_cast<unsigned char>(y));
  });
}

}  // namespace astro
