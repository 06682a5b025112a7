// The conversions between the four stored element types (integer, float,
// boolean, string) that every read and write of a value goes through.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tova {

std::string IntToText(int32_t value);
std::string BoolToText(bool value);  // "TRUE" or "FALSE"

// General format with 15 significant digits: trailing zeros dropped, a full
// stop as decimal point, and the exponent form (1E20, 1.5E-7) once the fixed
// form would need more than 15 integer digits or the magnitude is below 1E-5.
std::string FloatToText(long double value);

// Only the exact, upper-case text "TRUE" is true.
bool TextToBool(std::string_view text);

// A decimal integer with optional leading blanks and sign, or a hexadecimal
// one after '$' (up to 32 bits, taken as two's complement). Nothing else may
// follow. Empty on anything else, including overflow.
std::optional<int32_t> TryTextToInt(std::string_view text);
int32_t TextToInt(std::string_view text);  // 0 where TryTextToInt fails

// A decimal float with optional sign, decimal point and exponent, and blanks
// around it. Empty on anything else, including values beyond the range.
std::optional<long double> TryTextToFloat(std::string_view text);
long double TextToFloat(std::string_view text);  // 0.0 where TryTextToFloat fails

// Truncates toward zero to 64 bits and keeps the low 32 bits. A value outside
// the 64-bit range (or NaN) raises the invalid-operation error.
int32_t FloatToInt(long double value);

}  // namespace tova
