// Every SIMD kernel gives the bytes of its scalar reference, on every
// instruction set built in and supported here, over random widths (1 to 3000
// pixels), start alignments, levels and colours, with the edge values of
// masks and channels made frequent.
#include <gtest/gtest.h>
#include <hwy/targets.h>

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "graphics/pixel_kernels.h"

namespace tova {
namespace {

class PixelKernels : public testing::TestWithParam<int64_t> {
protected:
    void SetUp() override { hwy::SetSupportedTargetsForTest(GetParam()); }
    void TearDown() override { hwy::SetSupportedTargetsForTest(0); }

    // Channel bytes with 0 and 255 frequent.
    uint8_t Byte() {
        uint32_t r = random_() % 8;
        if (r == 0) return 0;
        if (r == 1) return 255;
        return static_cast<uint8_t>(random_());
    }
    TPixel32 Pixel() {
        return static_cast<TPixel32>(Byte()) | static_cast<TPixel32>(Byte()) << 8 |
               static_cast<TPixel32>(Byte()) << 16 |
               static_cast<TPixel32>(random_() % 4 == 0 ? Byte() : 0) << 24;
    }
    std::vector<TPixel32> Pixels(size_t n) {
        std::vector<TPixel32> v(n);
        for (auto& p : v)
            p = Pixel();
        return v;
    }
    std::vector<uint8_t> Bytes(size_t n) {
        std::vector<uint8_t> v(n);
        for (auto& b : v)
            b = Byte();
        return v;
    }
    uint32_t Level() { return 1 + random_() % 254; }

    // Runs check(width, offset) for random widths and start offsets.
    void ForSizes(const std::function<void(size_t, size_t)>& check) {
        for (size_t n : {size_t{1}, size_t{3}, size_t{15}, size_t{16}, size_t{17}, size_t{64}, size_t{3000}})
            check(n, random_() % 16);
        for (int i = 0; i < 40; ++i)
            check(1 + random_() % 3000, random_() % 16);
    }

    std::mt19937 random_{12345};
};

TEST_P(PixelKernels, MixesEqualTheReference) {
    ForSizes([&](size_t n, size_t off) {
        auto old = Pixels(n + off), neu = Pixels(n + off);
        auto mask = Bytes(n + off);
        uint32_t level = Level();
        std::vector<TPixel32> want(n + off), got(n + off);
        kernels_ref::MixLevel(want.data() + off, old.data() + off, neu.data() + off, n, level);
        kernels::MixLevel(got.data() + off, old.data() + off, neu.data() + off, n, level);
        ASSERT_EQ(want, got) << "MixLevel n=" << n << " level=" << level;
        for (uint32_t l : {Level(), 255u}) {
            kernels_ref::MixMask(want.data() + off, old.data() + off, neu.data() + off, mask.data() + off, n,
                                 l);
            kernels::MixMask(got.data() + off, old.data() + off, neu.data() + off, mask.data() + off, n, l);
            ASSERT_EQ(want, got) << "MixMask n=" << n << " level=" << l;
        }
        kernels_ref::SelectMask(want.data() + off, old.data() + off, neu.data() + off, mask.data() + off, n);
        kernels::SelectMask(got.data() + off, old.data() + off, neu.data() + off, mask.data() + off, n);
        ASSERT_EQ(want, got) << "SelectMask n=" << n;
        // In place, as the drawing operations call them.
        want = old;
        got = old;
        kernels_ref::MixMask(want.data() + off, want.data() + off, neu.data() + off, mask.data() + off, n,
                             level);
        kernels::MixMask(got.data() + off, got.data() + off, neu.data() + off, mask.data() + off, n, level);
        ASSERT_EQ(want, got) << "MixMask in place n=" << n;
    });
}

TEST_P(PixelKernels, ColourKernelsEqualTheReference) {
    ForSizes([&](size_t n, size_t off) {
        auto src = Pixels(n + off), base = Pixels(n + off);
        auto mask = Bytes(n + off);
        TPixel32 colour = Pixel() & 0xFFFFFFu;
        uint32_t level = random_() % 2 ? Level() : 255;
        auto want = base, got = base;
        kernels_ref::Fill32(want.data() + off, n, colour);
        kernels::Fill32(got.data() + off, n, colour);
        ASSERT_EQ(want, got) << "Fill32 n=" << n;
        kernels_ref::FillMask(want.data() + off, mask.data() + off, n, colour, level);
        kernels::FillMask(got.data() + off, mask.data() + off, n, colour, level);
        ASSERT_EQ(want, got) << "FillMask n=" << n;
        kernels_ref::AddColor(want.data() + off, src.data() + off, n, colour);
        kernels::AddColor(got.data() + off, src.data() + off, n, colour);
        ASSERT_EQ(want, got) << "AddColor n=" << n;
        kernels_ref::SubColor(want.data() + off, src.data() + off, n, colour);
        kernels::SubColor(got.data() + off, src.data() + off, n, colour);
        ASSERT_EQ(want, got) << "SubColor n=" << n;
        want = base;
        got = base;
        kernels_ref::AddScaled(want.data() + off, src.data() + off, n, level);
        kernels::AddScaled(got.data() + off, src.data() + off, n, level);
        ASSERT_EQ(want, got) << "AddScaled n=" << n;
        // Keys: make the key colour frequent.
        for (size_t i = 0; i < n + off; i += 1 + random_() % 3)
            src[i] = colour;
        std::vector<uint8_t> wantMask(n + off), gotMask(n + off);
        kernels_ref::KeyToMask(wantMask.data() + off, src.data() + off, n, colour);
        kernels::KeyToMask(gotMask.data() + off, src.data() + off, n, colour);
        ASSERT_EQ(wantMask, gotMask) << "KeyToMask n=" << n;
    });
}

TEST_P(PixelKernels, CoverageCompositingEqualsTheReference) {
    ForSizes([&](size_t n, size_t off) {
        auto base = Pixels(n + off);
        auto baseCoverage = Bytes(n + off);
        auto coverage = Bytes(n + off);
        TPixel32 colour = Pixel();
        auto want = base, got = base;
        auto wantCoverage = baseCoverage, gotCoverage = baseCoverage;
        kernels_ref::CompositeCoverage(want.data() + off, wantCoverage.data() + off, coverage.data() + off, n,
                                       colour);
        kernels::CompositeCoverage(got.data() + off, gotCoverage.data() + off, coverage.data() + off, n,
                                   colour);
        ASSERT_EQ(want, got) << "n=" << n;
        ASSERT_EQ(wantCoverage, gotCoverage) << "n=" << n;
    });
    // Every pair of coverages once.
    std::vector<uint8_t> stored(65536), coverage(65536);
    for (size_t i = 0; i < 65536; ++i) {
        stored[i] = static_cast<uint8_t>(i >> 8);
        coverage[i] = static_cast<uint8_t>(i);
    }
    auto base = Pixels(65536);
    auto want = base, got = base;
    auto wantStored = stored, gotStored = stored;
    kernels_ref::CompositeCoverage(want.data(), wantStored.data(), coverage.data(), 65536, 0x00FF8001u);
    kernels::CompositeCoverage(got.data(), gotStored.data(), coverage.data(), 65536, 0x00FF8001u);
    ASSERT_EQ(want, got);
    ASSERT_EQ(wantStored, gotStored);
}

TEST_P(PixelKernels, ReversingAndGatheringEqualTheReference) {
    ForSizes([&](size_t n, size_t off) {
        auto src = Pixels(n + off);
        auto bytes = Bytes(n + off);
        std::vector<TPixel32> want(n), got(n);
        kernels_ref::Reverse32(want.data(), src.data() + off, n);
        kernels::Reverse32(got.data(), src.data() + off, n);
        ASSERT_EQ(want, got) << "Reverse32 n=" << n;
        std::vector<uint8_t> wantBytes(n), gotBytes(n);
        kernels_ref::Reverse8(wantBytes.data(), bytes.data() + off, n);
        kernels::Reverse8(gotBytes.data(), bytes.data() + off, n);
        ASSERT_EQ(wantBytes, gotBytes) << "Reverse8 n=" << n;
        std::vector<uint32_t> index(n);
        for (auto& i : index)
            i = static_cast<uint32_t>(random_() % (n + off));
        kernels_ref::Gather32(want.data(), src.data(), index.data(), n);
        kernels::Gather32(got.data(), src.data(), index.data(), n);
        ASSERT_EQ(want, got) << "Gather32 n=" << n;
    });
}

// The targets the kernels were built for that this processor runs.
std::vector<int64_t> Targets() {
    std::vector<int64_t> targets;
    for (int64_t target : hwy::SupportedAndGeneratedTargets())
        if (target & kernels::BuiltTargets()) targets.push_back(target);
    return targets;
}

INSTANTIATE_TEST_SUITE_P(Targets, PixelKernels, testing::ValuesIn(Targets()),
                         [](const testing::TestParamInfo<int64_t>& target) {
                             std::string name = hwy::TargetName(target.param);
                             for (char& c : name)
                                 if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

}  // namespace
}  // namespace tova
