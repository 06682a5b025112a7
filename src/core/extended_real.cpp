#include "core/extended_real.h"

#include <bit>
#include <cmath>
#include <limits>

namespace tova {
namespace {

constexpr int kBias = 16383;

struct Fields {
    bool negative;
    int exponent;  // biased, 0..0x7FFF
    uint64_t mantissa;
};

Fields Unpack(const Extended80& b) {
    Fields f{};
    for (int i = 7; i >= 0; --i) f.mantissa = f.mantissa << 8 | b[static_cast<size_t>(i)];
    const int top = b[8] | b[9] << 8;
    f.negative = (top & 0x8000) != 0;
    f.exponent = top & 0x7FFF;
    return f;
}

Extended80 Pack(bool negative, int exponent, uint64_t mantissa) {
    Extended80 b{};
    for (size_t i = 0; i < 8; ++i) b[i] = static_cast<uint8_t>(mantissa >> (8 * i));
    const int top = (negative ? 0x8000 : 0) | (exponent & 0x7FFF);
    b[8] = static_cast<uint8_t>(top);
    b[9] = static_cast<uint8_t>(top >> 8);
    return b;
}

template <class T>
T Special(const Fields& f) {
    // Infinity has only the integer bit set; anything else is a NaN.
    const T value = (f.mantissa << 1) == 0 ? std::numeric_limits<T>::infinity() : std::numeric_limits<T>::quiet_NaN();
    return f.negative ? -value : value;
}

// Shifts right by `shift` bits, rounding to nearest with ties to even.
uint64_t ShiftRightRounded(uint64_t value, int shift) {
    if (shift <= 0) return value;
    if (shift > 64) return 0;
    const uint64_t kept = shift == 64 ? 0 : value >> shift;
    const uint64_t half = uint64_t{1} << (shift - 1);
    const uint64_t rest = shift == 64 ? value : value & ((uint64_t{1} << shift) - 1);
    if (rest > half || (rest == half && (kept & 1))) return kept + 1;
    return kept;
}

}  // namespace

long double ExtendedToLongDouble(const Extended80& bytes) {
    const Fields f = Unpack(bytes);
    if (f.exponent == 0x7FFF) return Special<long double>(f);
    const int exponent = (f.exponent == 0 ? 1 : f.exponent) - kBias - 63;
    const long double value = std::ldexp(static_cast<long double>(f.mantissa), exponent);
    return f.negative ? -value : value;
}

double ExtendedToDouble(const Extended80& bytes) {
    const Fields f = Unpack(bytes);
    if (f.exponent == 0x7FFF) return Special<double>(f);
    if (f.mantissa == 0) return f.negative ? -0.0 : 0.0;
    // value = mantissa * 2^exponent with the mantissa's top bit set.
    const int zeros = std::countl_zero(f.mantissa);
    const uint64_t mantissa = f.mantissa << zeros;
    const int exponent = (f.exponent == 0 ? 1 : f.exponent) - kBias - 63 - zeros;
    const int lead = exponent + 63;  // exponent of the leading bit
    double result;
    if (lead > 1023) {
        result = std::numeric_limits<double>::infinity();
    } else {
        // Normal doubles keep 53 bits; subnormals fewer, down to none.
        const int keep = lead >= -1022 ? 53 : lead + 1074 + 1;
        const int shift = 64 - keep;
        const uint64_t q = ShiftRightRounded(mantissa, shift);
        result = std::ldexp(static_cast<double>(q), exponent + shift);  // exact: q fits the precision
    }
    return f.negative ? -result : result;
}

Extended80 LongDoubleToExtended(long double value) {
    const bool negative = std::signbit(value);
    if (std::isnan(value)) return Pack(negative, 0x7FFF, 0xC000000000000000ull);
    if (std::isinf(value)) return Pack(negative, 0x7FFF, 0x8000000000000000ull);
    if (value == 0) return Pack(negative, 0, 0);
    int exp2 = 0;
    const long double fraction = std::frexp(std::fabs(value), &exp2);  // [0.5, 1)
    // The top 64 bits of the fraction, then the rounding of what is left
    // (only non-zero when long double is wider than 64 bits).
    const long double scaled = std::ldexp(fraction, 64);
    long double whole = std::floor(scaled);
    const long double rest = scaled - whole;
    if (rest > 0.5L || (rest == 0.5L && std::fmod(whole, 2.0L) != 0)) whole += 1;
    uint64_t mantissa;
    if (whole >= 18446744073709551616.0L) {
        mantissa = 0x8000000000000000ull;
        ++exp2;
    } else {
        mantissa = static_cast<uint64_t>(whole);
    }
    int exponent = exp2 - 1 + kBias;
    if (exponent >= 0x7FFF) return Pack(negative, 0x7FFF, 0x8000000000000000ull);
    if (exponent <= 0) {
        mantissa = ShiftRightRounded(mantissa, 1 - exponent);
        exponent = (mantissa >> 63) ? 1 : 0;
    }
    return Pack(negative, exponent, mantissa);
}

Extended80 DoubleToExtended(double value) { return LongDoubleToExtended(static_cast<long double>(value)); }

}  // namespace tova
