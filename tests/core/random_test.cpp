#include "core/random.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tova {
namespace {

TEST(TpRandom, ValuesFollowTheRecurrenceModulo2To32) {
    TTpRandom r(TTpRandom::kArchiveSeed);
    uint32_t x = 0;
    for (int i = 0; i < 100; ++i) {
        x = x * 5u + TTpRandom::kArchiveSeed;
        EXPECT_EQ(r.Next(), static_cast<int32_t>(x));
    }
    TTpRandom first(7);
    EXPECT_EQ(first.Next(), 7);
    EXPECT_EQ(first.Next(), 42);
}

TEST(TpRandom, PoolDrawsEveryNumberOnceByUnsignedModulo) {
    TTpRandom r(3);
    r.SetPool(5);
    // X becomes 3: index 3 of 0..4 is 3; then X = 18: 18 mod 4 = 2 of {0,1,2,4} is 2.
    EXPECT_EQ(r.Draw(), 3);
    EXPECT_EQ(r.Draw(), 2);
    std::vector<int> rest{r.Draw(), r.Draw(), r.Draw()};
    std::sort(rest.begin(), rest.end());
    EXPECT_EQ(rest, (std::vector<int>{0, 1, 4}));
    EXPECT_EQ(r.PoolSize(), 0);
    // A negative X (top bit set) is taken as unsigned.
    TTpRandom negative(0x80000001u);
    negative.SetPool(3);
    EXPECT_EQ(negative.Draw(), static_cast<int>(0x80000001u % 3));
}

}  // namespace
}  // namespace tova
