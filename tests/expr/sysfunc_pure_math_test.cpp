#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>

#include "sysfunc_pure_test_util.h"

namespace tova {
namespace {

using namespace tova::pure;
using test::BoolOf;
using test::ErrorOf;
using test::FloatOf;
using test::IntOf;
using test::Invoke;

TEST(SysFuncPureMath, NotReadsItsArgumentAsABoolean) {
    EXPECT_FALSE(BoolOf(Not, {5}));
    EXPECT_TRUE(BoolOf(Not, {0}));
    EXPECT_FALSE(BoolOf(Not, {"TRUE"}));
    EXPECT_TRUE(BoolOf(Not, {"x"}));
    EXPECT_TRUE(BoolOf(Not, {false}));
}

TEST(SysFuncPureMath, RandomStaysInRange) {
    std::mt19937 generator(42);
    std::set<int32_t> seen;
    for (int i = 0; i < 200; ++i) {
        const int32_t value = Invoke(Random, PT_INT, {3}, &generator)->GetInt();
        ASSERT_GE(value, 0);
        ASSERT_LT(value, 3);
        seen.insert(value);
    }
    EXPECT_EQ(seen.size(), 3u);
    EXPECT_EQ(Invoke(Random, PT_INT, {0}, &generator)->GetInt(), 0);
    EXPECT_EQ(Invoke(Random, PT_INT, {-7}, &generator)->GetInt(), 0);
    // Without a generator the result keeps its default.
    EXPECT_EQ(Invoke(Random, PT_INT, {1000})->GetInt(), 0);
}

TEST(SysFuncPureMath, IntTruncatesTowardZero) {
    EXPECT_EQ(IntOf(Int, {2.9}), 2);
    EXPECT_EQ(IntOf(Int, {-2.9}), -2);
    EXPECT_EQ(IntOf(Int, {"7.5"}), 7);
    // Beyond 32 bits the low 32 bits of the 64-bit truncation remain.
    EXPECT_EQ(IntOf(Int, {4294967297.5}), 1);
    EXPECT_FALSE(ErrorOf([] { IntOf(Int, {1e30}); }).empty());
    EXPECT_EQ(FloatOf(Float, {"2.5"}), 2.5L);
}

TEST(SysFuncPureMath, ArcTan2TakesYFirstAndKnowsTheQuadrant) {
    const double pi = std::acos(-1.0);
    EXPECT_NEAR(static_cast<double>(FloatOf(ArcTan2, {1, -1})), 3 * pi / 4, 1e-12);
    EXPECT_NEAR(static_cast<double>(FloatOf(ArcTan2, {-1, -1})), -3 * pi / 4, 1e-12);
    EXPECT_NEAR(static_cast<double>(FloatOf(Sin, {pi / 2})), 1.0, 1e-12);
    EXPECT_EQ(FloatOf(Hypot, {3, 4}), 5.0L);
}

TEST(SysFuncPureMath, AbsoluteValuesAndExtremes) {
    EXPECT_EQ(IntOf(Abs, {-5}), 5);
    // The most negative integer has no positive counterpart and stays itself.
    EXPECT_EQ(IntOf(Abs, {-2147483647 - 1}), -2147483647 - 1);
    EXPECT_EQ(FloatOf(Fabs, {-2.5}), 2.5L);
    EXPECT_EQ(IntOf(Min, {-3, 2}), -3);
    EXPECT_EQ(IntOf(Max, {-3, 2}), 2);
    EXPECT_EQ(FloatOf(Fmin, {1.5, 1.25}), 1.25L);
    EXPECT_EQ(FloatOf(Fmax, {1.5, 1.25}), 1.5L);
    // The integer versions read their arguments as integers.
    EXPECT_EQ(IntOf(Max, {1.9, 1.2}), 1);
}

}  // namespace
}  // namespace tova
