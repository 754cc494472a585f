// The text forms of the settings values, read and written the way the C library's
// atoi, sscanf and printf do in the "C" locale, whatever locale the process runs
// in: a user's locale with a decimal comma must not change what is stored or
// how it is read back.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace astro {

// atoi: leading white space, an optional sign, the digits up to the first
// non-digit; 0 without digits. Values beyond 32 bits saturate (instead of the
// undefined result of the C call).
std::int32_t ParseDecimal(std::string_view text);

// sscanf(text, "%d %lf", enabled, factor): returns how many of the two were
// assigned, from the left; a field that is not reached or does not scan stays as
// it was. A factor that is not a finite number within the range of a double
// (infinities, NaN, overflowing exponents) does not scan.
int ScanSwitchAndFactor(std::string_view text, std::int32_t* enabled, double* factor);

// sscanf(text, "%d %d", first, second), with the same partial rules.
int ScanIntegerPair(std::string_view text, std::int32_t* first, std::int32_t* second);

// "%d".
std::string FormatDecimal(std::int32_t value);
// "%d %+8.4lf": the switch, one blank, the factor with its sign, four decimals,
// right-aligned in eight characters ("1  +1.0000", "0 +12.1825").
std::string FormatSwitchAndFactor(std::int32_t enabled, double factor);
// "%d %d".
std::string FormatIntegerPair(std::int32_t first, std::int32_t second);

}  // namespace astro
