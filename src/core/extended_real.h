// The 10-byte x87 extended real that every stored real uses: 64-bit mantissa
// with an explicit integer bit, 15-bit exponent biased by 16383, sign bit.
// The conversions work on the bit pattern, so they are exact wherever the
// target type can hold the value, whatever the host's long double is.
#pragma once

#include <array>
#include <cstdint>

namespace tova {

using Extended80 = std::array<uint8_t, 10>;

// Exact when long double has at least 64 mantissa bits (x86); correctly
// rounded otherwise.
long double ExtendedToLongDouble(const Extended80& bytes);
// Correctly rounded (to nearest, ties to even), subnormals included.
double ExtendedToDouble(const Extended80& bytes);

// Exact for every double and for every long double of up to 64 mantissa bits.
Extended80 LongDoubleToExtended(long double value);
Extended80 DoubleToExtended(double value);

}  // namespace tova
