#include "core/extended_real.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace tova {
namespace {

Extended80 Bytes(uint64_t mantissa, uint16_t top) {
    Extended80 b{};
    std::memcpy(b.data(), &mantissa, 8);  // the tests run on little-endian hosts
    b[8] = static_cast<uint8_t>(top);
    b[9] = static_cast<uint8_t>(top >> 8);
    return b;
}

TEST(ExtendedReal, KnownBitPatterns) {
    EXPECT_EQ(DoubleToExtended(1.0), Bytes(0x8000000000000000ull, 0x3FFF));
    EXPECT_EQ(DoubleToExtended(-2.0), Bytes(0x8000000000000000ull, 0xC000));
    EXPECT_EQ(DoubleToExtended(0.1), Bytes(0xCCCCCCCCCCCCD000ull, 0x3FFB));
    EXPECT_EQ(DoubleToExtended(0.0), Bytes(0, 0));
    EXPECT_EQ(DoubleToExtended(-0.0), Bytes(0, 0x8000));
    EXPECT_EQ(DoubleToExtended(std::numeric_limits<double>::infinity()), Bytes(0x8000000000000000ull, 0x7FFF));
    EXPECT_TRUE(std::isnan(ExtendedToDouble(DoubleToExtended(std::nan("")))));
}

TEST(ExtendedReal, EveryDoubleRoundTripsExactly) {
    const double values[] = {1.5, -123456.789, 1e300, -1e-300, std::numeric_limits<double>::min(),
                             std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::max(),
                             5e-324 * 3, 0.1 + 0.2};
    for (double v : values) {
        EXPECT_EQ(ExtendedToDouble(DoubleToExtended(v)), v) << v;
        EXPECT_EQ(static_cast<double>(ExtendedToLongDouble(DoubleToExtended(v))), v) << v;
    }
}

TEST(ExtendedReal, NarrowingToDoubleRoundsToNearestEven) {
    // 1 + 2^-53 is a tie between 1 and the next double: it goes to the even 1.
    EXPECT_EQ(ExtendedToDouble(Bytes(0x8000000000000400ull, 0x3FFF)), 1.0);
    // 1 + 3 * 2^-53 is a tie too and goes up to the even 1 + 2^-51.
    EXPECT_EQ(ExtendedToDouble(Bytes(0x8000000000000C00ull, 0x3FFF)), 1.0 + std::ldexp(1.0, -51));
    // Just above the tie rounds up.
    EXPECT_EQ(ExtendedToDouble(Bytes(0x8000000000000401ull, 0x3FFF)), 1.0 + std::ldexp(1.0, -52));
    // Too large for a double, and too small even for a subnormal.
    EXPECT_EQ(ExtendedToDouble(Bytes(0x8000000000000000ull, 0x3FFF + 1024)), std::numeric_limits<double>::infinity());
    EXPECT_EQ(ExtendedToDouble(Bytes(0x8000000000000000ull, 0x3FFF - 1080)), 0.0);
    // Half the smallest subnormal is a tie and goes to even, zero.
    EXPECT_EQ(ExtendedToDouble(Bytes(0x8000000000000000ull, 0x3FFF - 1075)), 0.0);
    EXPECT_EQ(ExtendedToDouble(Bytes(0xC000000000000000ull, 0x3FFF - 1075)), std::numeric_limits<double>::denorm_min());
}

TEST(ExtendedReal, LongDoubleKeepsAllSixtyFourBits) {
    if (std::numeric_limits<long double>::digits < 64) GTEST_SKIP() << "long double is narrower here";
    const Extended80 pattern = Bytes(0xFEDCBA9876543211ull, 0x4005);
    EXPECT_EQ(LongDoubleToExtended(ExtendedToLongDouble(pattern)), pattern);
    // An extended subnormal (exponent field 0) survives as well.
    const Extended80 tiny = Bytes(0x0000000000000123ull, 0x0000);
    EXPECT_EQ(LongDoubleToExtended(ExtendedToLongDouble(tiny)), tiny);
}

}  // namespace
}  // namespace tova
