#include "config/settings_text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace astro {
namespace {

// White space as isspace() has it in the "C" locale.
bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsHexDigit(char c) {
  return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The scanning position within a value's text.
struct Cursor {
  const char* at;
  const char* end;

  void SkipSpace() {
    while (at < end && IsSpace(*at)) ++at;
  }
  // An optional sign; true for '-'.
  bool TakeSign() {
    if (at < end && (*at == '+' || *at == '-')) return *at++ == '-';
    return false;
  }
};

// %d: white space, optional sign, at least one digit. Saturates at the 32-bit limits.
bool ScanInt(Cursor& cursor, std::int32_t* value) {
  Cursor c = cursor;
  c.SkipSpace();
  const bool negative = c.TakeSign();
  if (c.at >= c.end || !IsDigit(*c.at)) return false;
  // Accumulate the magnitude with a ceiling just above the largest one that fits.
  constexpr std::int64_t kCeiling = std::int64_t{1} << 31;
  std::int64_t magnitude = 0;
  while (c.at < c.end && IsDigit(*c.at)) {
    magnitude = magnitude * 10 + (*c.at++ - '0');
    if (magnitude > kCeiling) magnitude = kCeiling;
  }
  const std::int64_t signedValue = negative ? -magnitude : magnitude;
  constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  *value = static_cast<std::int32_t>(
      signedValue < kMin ? kMin : (signedValue > kMax ? kMax : signedValue));
  cursor = c;
  return true;
}

// Where strtod ends a hexadecimal number's digits (after "0x"): hex digits with at
// most one point, then an exponent only when digits follow the 'p' and its one
// optional sign. Some library versions of from_chars also take a second sign
// ("p+-1" as p-1), so it is only given this much.
const char* HexNumberEnd(const char* at, const char* end) {
  bool point = false;
  while (at < end && (IsHexDigit(*at) || (*at == '.' && !point))) {
    point = point || *at == '.';
    ++at;
  }
  if (at == end || (*at != 'p' && *at != 'P')) return at;
  const char* exponent = at + 1;
  if (exponent < end && (*exponent == '+' || *exponent == '-')) ++exponent;
  if (exponent == end || !IsDigit(*exponent)) return at;
  while (exponent < end && IsDigit(*exponent)) ++exponent;
  return exponent;
}

// %lf: white space, optional sign, then a decimal or hexadecimal floating number
// as strtod reads it. Only finite values in range are taken.
bool ScanDouble(Cursor& cursor, double* value) {
  Cursor c = cursor;
  c.SkipSpace();
  const bool negative = c.TakeSign();
  if (c.at >= c.end || *c.at == '+' || *c.at == '-') return false;
  double magnitude = 0.0;
  std::from_chars_result result{c.at, std::errc::invalid_argument};
  const bool hexPrefix =
      c.end - c.at > 2 && c.at[0] == '0' && (c.at[1] == 'x' || c.at[1] == 'X') &&
      (IsHexDigit(c.at[2]) || (c.at[2] == '.' && c.end - c.at > 3 && IsHexDigit(c.at[3])));
  if (hexPrefix) {
    result =
        std::from_chars(c.at + 2, HexNumberEnd(c.at + 2, c.end), magnitude, std::chars_format::hex);
  } else {
    result = std::from_chars(c.at, c.end, magnitude, std::chars_format::general);
  }
  if (result.ec != std::errc() || !std::isfinite(magnitude)) return false;
  *value = negative ? -magnitude : magnitude;
  cursor.at = result.ptr;
  return true;
}

Cursor MakeCursor(std::string_view text) {
  return Cursor{text.data(), text.data() + text.size()};
}

}  // namespace

std::int32_t ParseDecimal(std::string_view text) {
  Cursor cursor = MakeCursor(text);
  std::int32_t value = 0;
  return ScanInt(cursor, &value) ? value : 0;
}

int ScanSwitchAndFactor(std::string_view text, std::int32_t* enabled, double* factor) {
  Cursor cursor = MakeCursor(text);
  if (!ScanInt(cursor, enabled)) return 0;
  return ScanDouble(cursor, factor) ? 2 : 1;
}

int ScanIntegerPair(std::string_view text, std::int32_t* first, std::int32_t* second) {
  Cursor cursor = MakeCursor(text);
  if (!ScanInt(cursor, first)) return 0;
  return ScanInt(cursor, second) ? 2 : 1;
}

std::string FormatDecimal(std::int32_t value) {
  char text[16];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

std::string FormatSwitchAndFactor(std::int32_t enabled, double factor) {
  // The widest fixed form of a double is about 310 digits before the point.
  char number[400];
  char* start = number + 1;
  const auto result =
      std::to_chars(start, number + sizeof number, factor, std::chars_format::fixed, 4);
  if (*start != '-') *--start = '+';  // printf's '+' flag, also for "inf" and "nan"
  std::string factorText(start, result.ptr);
  constexpr std::size_t kWidth = 8;
  if (factorText.size() < kWidth) factorText.insert(0, kWidth - factorText.size(), ' ');
  return FormatDecimal(enabled) + ' ' + factorText;
}

std::string FormatIntegerPair(std::int32_t first, std::int32_t second) {
  return FormatDecimal(first) + ' ' + FormatDecimal(second);
}

}  // namespace astro
