// The SIMD pixel kernels, written once with Highway and compiled for several
// instruction sets (AVX2 and AVX-512 on x86-64, the baseline elsewhere); the
// best one the processor supports is chosen at the first call. Each kernel
// gives exactly the bytes of its scalar reference in pixel_kernels_ref.cpp;
// the last pixels of a row that do not fill a whole vector go through the
// reference.
//
// Channel arithmetic works on 16-bit lanes: a 32-bit pixel B, G, R, X is two
// 16-bit lanes, whose low bytes (B, R) and high bytes (G, X) are computed
// separately, so that no lane needs to be shuffled.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "graphics/pixel_kernels_simd.cpp"
#include <hwy/foreach_target.h>  // IWYU pragma: keep
#include <hwy/highway.h>

#include "graphics/pixel_kernels.h"

HWY_BEFORE_NAMESPACE();
namespace tova::kernels::HWY_NAMESPACE {
#if HWY_TARGET == HWY_SCALAR
// Without vector instructions (GCC 12 builds no 128-bit emulation) the
// baseline is the reference itself.
void Fill32Impl(TPixel32* dst, size_t n, TPixel32 colour) {
    kernels_ref::Fill32(dst, n, colour);
}
void MixLevelImpl(TPixel32* dst, const TPixel32* old, const TPixel32* neu, size_t n, uint32_t level) {
    kernels_ref::MixLevel(dst, old, neu, n, level);
}
void MixMaskImpl(TPixel32* dst, const TPixel32* old, const TPixel32* neu, const uint8_t* mask, size_t n,
                 uint32_t level) {
    kernels_ref::MixMask(dst, old, neu, mask, n, level);
}
void SelectMaskImpl(TPixel32* dst, const TPixel32* old, const TPixel32* neu, const uint8_t* mask, size_t n) {
    kernels_ref::SelectMask(dst, old, neu, mask, n);
}
void FillMaskImpl(TPixel32* dst, const uint8_t* mask, size_t n, TPixel32 colour, uint32_t level) {
    kernels_ref::FillMask(dst, mask, n, colour, level);
}
void AddColorImpl(TPixel32* dst, const TPixel32* src, size_t n, TPixel32 colour) {
    kernels_ref::AddColor(dst, src, n, colour);
}
void SubColorImpl(TPixel32* dst, const TPixel32* src, size_t n, TPixel32 colour) {
    kernels_ref::SubColor(dst, src, n, colour);
}
void AddScaledImpl(TPixel32* dst, const TPixel32* src, size_t n, uint32_t level) {
    kernels_ref::AddScaled(dst, src, n, level);
}
void KeyToMaskImpl(uint8_t* mask, const TPixel32* src, size_t n, TPixel32 key) {
    kernels_ref::KeyToMask(mask, src, n, key);
}
void CompositeCoverageImpl(TPixel32* dst, uint8_t* dstCoverage, const uint8_t* coverage, size_t n,
                           TPixel32 colour) {
    kernels_ref::CompositeCoverage(dst, dstCoverage, coverage, n, colour);
}
void Reverse32Impl(TPixel32* dst, const TPixel32* src, size_t n) {
    kernels_ref::Reverse32(dst, src, n);
}
void Reverse8Impl(uint8_t* dst, const uint8_t* src, size_t n) {
    kernels_ref::Reverse8(dst, src, n);
}
void Gather32Impl(TPixel32* dst, const TPixel32* src, const uint32_t* index, size_t n) {
    kernels_ref::Gather32(dst, src, index, n);
}
#else
namespace hn = hwy::HWY_NAMESPACE;

using D32 = hn::ScalableTag<uint32_t>;
using D16 = hn::Repartition<uint16_t, D32>;
using D8 = hn::Repartition<uint8_t, D32>;
using DMask = hn::Rebind<uint8_t, D32>;  // one byte per pixel
using DI32 = hn::RebindToSigned<D32>;
using DF32 = hn::Rebind<float, D32>;
using V32 = hn::Vec<D32>;
using V16 = hn::Vec<D16>;

// (k * n + (255 - k) * o) / 256 per channel, k in every 16-bit lane.
HWY_INLINE V32 MixCore(V32 o, V32 n, V16 k) {
    const D16 d16;
    const D32 d32;
    const V16 low = hn::Set(d16, 0x00FF);
    const V16 ik = hn::Sub(hn::Set(d16, 255), k);
    const V16 o16 = hn::BitCast(d16, o);
    const V16 n16 = hn::BitCast(d16, n);
    const V16 even =
        hn::ShiftRight<8>(hn::Add(hn::Mul(hn::And(n16, low), k), hn::Mul(hn::And(o16, low), ik)));
    const V16 odd =
        hn::AndNot(low, hn::Add(hn::Mul(hn::ShiftRight<8>(n16), k), hn::Mul(hn::ShiftRight<8>(o16), ik)));
    return hn::BitCast(d32, hn::Or(even, odd));
}

// The per-pixel weight in both 16-bit lanes of each pixel.
HWY_INLINE V16 Spread(V32 k32) {
    return hn::BitCast(D16(), hn::Or(k32, hn::ShiftLeft<16>(k32)));
}

HWY_INLINE V32 LoadMask(const uint8_t* mask) {
    return hn::PromoteTo(D32(), hn::LoadU(DMask(), mask));
}

// mix with exact end points for a per-pixel weight k32 (0..255).
HWY_INLINE V32 MixWeighted(V32 o, V32 n, V32 k32) {
    const D32 d32;
    V32 r = MixCore(o, n, Spread(k32));
    r = hn::IfThenElse(hn::Eq(k32, hn::Set(d32, 255)), n, r);
    return hn::IfThenElse(hn::Eq(k32, hn::Zero(d32)), o, r);
}

HWY_INLINE V32 MaskWeight(V32 m32, uint32_t level) {
    if (level == 255) return m32;
    const D32 d32;
    return hn::ShiftRight<8>(hn::Add(hn::Mul(m32, hn::Set(d32, level)), hn::Set(d32, 255)));
}

void Fill32Impl(TPixel32* dst, size_t n, TPixel32 colour) {
    const D32 d32;
    const size_t lanes = hn::Lanes(d32);
    const V32 c = hn::Set(d32, colour);
    size_t i = 0;
    for (; i + lanes <= n; i += lanes)
        hn::StoreU(c, d32, dst + i);
    if (i < n) kernels_ref::Fill32(dst + i, n - i, colour);
}

void MixLevelImpl(TPixel32* dst, const TPixel32* old, const TPixel32* neu, size_t n, uint32_t level) {
    const D32 d32;
    const size_t lanes = hn::Lanes(d32);
    const V16 k = hn::Set(D16(), static_cast<uint16_t>(level));
    size_t i = 0;
    for (; i + lanes <= n; i += lanes)
        hn::StoreU(MixCore(hn::LoadU(d32, old + i), hn::LoadU(d32, neu + i), k), d32, dst + i);
    if (i < n) kernels_ref::MixLevel(dst + i, old + i, neu + i, n - i, level);
}

void MixMaskImpl(TPixel32* dst, const TPixel32* old, const TPixel32* neu, const uint8_t* mask, size_t n,
                 uint32_t level) {
    const D32 d32;
    const size_t lanes = hn::Lanes(d32);
    size_t i = 0;
    for (; i + lanes <= n; i += lanes) {
        const V32 k = MaskWeight(LoadMask(mask + i), level);
        hn::StoreU(MixWeighted(hn::LoadU(d32, old + i), hn::LoadU(d32, neu + i), k), d32, dst + i);
    }
    if (i < n) kernels_ref::MixMask(dst + i, old + i, neu + i, mask + i, n - i, level);
}

void SelectMaskImpl(TPixel32* dst, const TPixel32* old, const TPixel32* neu, const uint8_t* mask, size_t n) {
    const D32 d32;
    const size_t lanes = hn::Lanes(d32);
    size_t i = 0;
    for (; i + lanes <= n; i += lanes) {
        const auto keep = hn::Eq(LoadMask(mask + i), hn::Zero(d32));
        hn::StoreU(hn::IfThenElse(keep, hn::LoadU(d32, old + i), hn::LoadU(d32, neu + i)), d32, dst + i);
    }
    if (i < n) kernels_ref::SelectMask(dst + i, old + i, neu + i, mask + i, n - i);
}

void FillMaskImpl(TPixel32* dst, const uint8_t* mask, size_t n, TPixel32 colour, uint32_t level) {
    const D32 d32;
    const size_t lanes = hn::Lanes(d32);
    const V32 c = hn::Set(d32, colour);
    size_t i = 0;
    for (; i + lanes <= n; i += lanes) {
        const V32 k = MaskWeight(LoadMask(mask + i), level);
        hn::StoreU(MixWeighted(hn::LoadU(d32, dst + i), c, k), d32, dst + i);
    }
    if (i < n) kernels_ref::FillMask(dst + i, mask + i, n - i, colour, level);
}

enum class TColourStep { Add, Subtract };

// Adds colour to every byte of src, or subtracts it, saturating at 255 and 0.
template <TColourStep Step>
void StepColour(TPixel32* dst, const TPixel32* src, size_t n, TPixel32 colour) {
    constexpr bool add = Step == TColourStep::Add;
    const D32 d32;
    const D8 d8;
    const size_t lanes = hn::Lanes(d32);
    const auto c = hn::BitCast(d8, hn::Set(d32, colour));
    size_t i = 0;
    for (; i + lanes <= n; i += lanes) {
        const auto s = hn::BitCast(d8, hn::LoadU(d32, src + i));
        hn::StoreU(hn::BitCast(d32, add ? hn::SaturatedAdd(s, c) : hn::SaturatedSub(s, c)), d32, dst + i);
    }
    if (i < n) (add ? kernels_ref::AddColor : kernels_ref::SubColor)(dst + i, src + i, n - i, colour);
}

void AddColorImpl(TPixel32* dst, const TPixel32* src, size_t n, TPixel32 colour) {
    StepColour<TColourStep::Add>(dst, src, n, colour);
}

void SubColorImpl(TPixel32* dst, const TPixel32* src, size_t n, TPixel32 colour) {
    StepColour<TColourStep::Subtract>(dst, src, n, colour);
}

void AddScaledImpl(TPixel32* dst, const TPixel32* src, size_t n, uint32_t level) {
    const D32 d32;
    const D16 d16;
    const D8 d8;
    const size_t lanes = hn::Lanes(d32);
    const V16 low = hn::Set(d16, 0x00FF);
    const V16 l = hn::Set(d16, static_cast<uint16_t>(level));
    const V16 round = hn::Set(d16, 255);
    size_t i = 0;
    for (; i + lanes <= n; i += lanes) {
        const V16 s = hn::BitCast(d16, hn::LoadU(d32, src + i));
        const V16 even = hn::ShiftRight<8>(hn::Add(hn::Mul(hn::And(s, low), l), round));
        const V16 odd = hn::AndNot(low, hn::Add(hn::Mul(hn::ShiftRight<8>(s), l), round));
        const auto add = hn::BitCast(d8, hn::Or(even, odd));
        const auto sum = hn::SaturatedAdd(hn::BitCast(d8, hn::LoadU(d32, dst + i)), add);
        hn::StoreU(hn::BitCast(d32, sum), d32, dst + i);
    }
    if (i < n) kernels_ref::AddScaled(dst + i, src + i, n - i, level);
}

void KeyToMaskImpl(uint8_t* mask, const TPixel32* src, size_t n, TPixel32 key) {
    const D32 d32;
    const DI32 di32;
    const size_t lanes = hn::Lanes(d32);
    const V32 k = hn::Set(d32, key);
    const auto full = hn::Set(di32, 255);
    size_t i = 0;
    for (; i + lanes <= n; i += lanes) {
        const auto m = hn::IfThenZeroElse(hn::RebindMask(di32, hn::Eq(hn::LoadU(d32, src + i), k)), full);
        hn::StoreU(hn::DemoteTo(DMask(), m), DMask(), mask + i);
    }
    if (i < n) kernels_ref::KeyToMask(mask + i, src + i, n - i, key);
}

void CompositeCoverageImpl(TPixel32* dst, uint8_t* dstCoverage, const uint8_t* coverage, size_t n,
                           TPixel32 colour) {
    const D32 d32;
    const DI32 di32;
    const DF32 df32;
    const size_t lanes = hn::Lanes(d32);
    const V32 c = hn::Set(d32, colour);
    const V32 full = hn::Set(d32, 255);
    const V32 one = hn::Set(d32, 1);
    size_t i = 0;
    for (; i + lanes <= n; i += lanes) {
        const V32 v = LoadMask(coverage + i);
        const V32 a = LoadMask(dstCoverage + i);
        // a + v * (255 - a) / 255, the division by 255 exact for these sizes.
        const V32 t = hn::Mul(v, hn::Sub(full, a));
        const V32 combined = hn::Add(a, hn::ShiftRight<8>(hn::Add(hn::Add(t, one), hn::ShiftRight<8>(t))));
        // v * 255 / combined: the quotient is at least 1/255 away from the
        // next integer, far more than a float's rounding, so truncation of
        // the float quotient is the integer quotient.
        const auto num = hn::ConvertTo(df32, hn::BitCast(di32, hn::Mul(v, full)));
        const auto den = hn::ConvertTo(df32, hn::BitCast(di32, hn::Max(combined, one)));
        const V32 k = hn::BitCast(d32, hn::ConvertTo(di32, hn::Div(num, den)));
        const V32 o = hn::LoadU(d32, dst + i);
        V32 r = MixWeighted(o, c, k);
        r = hn::IfThenElse(hn::Eq(v, hn::Zero(d32)), o, r);
        hn::StoreU(r, d32, dst + i);
        hn::StoreU(hn::DemoteTo(DMask(), hn::BitCast(di32, combined)), DMask(), dstCoverage + i);
    }
    if (i < n) kernels_ref::CompositeCoverage(dst + i, dstCoverage + i, coverage + i, n - i, colour);
}

void Reverse32Impl(TPixel32* dst, const TPixel32* src, size_t n) {
    const D32 d32;
    const size_t lanes = hn::Lanes(d32);
    size_t i = 0;
    for (; i + lanes <= n; i += lanes)
        hn::StoreU(hn::Reverse(d32, hn::LoadU(d32, src + n - i - lanes)), d32, dst + i);
    if (i < n) kernels_ref::Reverse32(dst + i, src, n - i);
}

void Reverse8Impl(uint8_t* dst, const uint8_t* src, size_t n) {
    // Bytes are reversed through 32-bit lanes: reverse the lanes, then the
    // bytes within each lane.
    const D32 d32;
    const D8 d8;
    const size_t lanes = hn::Lanes(d8);
    size_t i = 0;
    for (; i + lanes <= n; i += lanes) {
        const V32 words = hn::Reverse(d32, hn::BitCast(d32, hn::LoadU(d8, src + n - i - lanes)));
        const V32 swapped = hn::Or(hn::Or(hn::ShiftLeft<24>(words), hn::ShiftRight<24>(words)),
                                   hn::Or(hn::And(hn::ShiftLeft<8>(words), hn::Set(d32, 0x00FF0000u)),
                                          hn::And(hn::ShiftRight<8>(words), hn::Set(d32, 0x0000FF00u))));
        hn::StoreU(hn::BitCast(d8, swapped), d8, dst + i);
    }
    if (i < n) kernels_ref::Reverse8(dst + i, src, n - i);
}

// Vector gathers measured slower than plain loads here (AMD EPYC, AVX-512 and
// AVX2 alike), so the gather stays a scalar loop on every target.
void Gather32Impl(TPixel32* dst, const TPixel32* src, const uint32_t* index, size_t n) {
    kernels_ref::Gather32(dst, src, index, n);
}

#endif  // HWY_TARGET == HWY_SCALAR
}  // namespace tova::kernels::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace tova::kernels {

int64_t BuiltTargets() {
    return HWY_TARGETS;
}

HWY_EXPORT(Fill32Impl);
HWY_EXPORT(MixLevelImpl);
HWY_EXPORT(MixMaskImpl);
HWY_EXPORT(SelectMaskImpl);
HWY_EXPORT(FillMaskImpl);
HWY_EXPORT(AddColorImpl);
HWY_EXPORT(SubColorImpl);
HWY_EXPORT(AddScaledImpl);
HWY_EXPORT(KeyToMaskImpl);
HWY_EXPORT(CompositeCoverageImpl);
HWY_EXPORT(Reverse32Impl);
HWY_EXPORT(Reverse8Impl);
HWY_EXPORT(Gather32Impl);

void Fill32(TPixel32* dst, size_t n, TPixel32 colour) {
    HWY_DYNAMIC_DISPATCH(Fill32Impl)(dst, n, colour);
}
void MixLevel(TPixel32* dst, const TPixel32* old, const TPixel32* neu, size_t n, uint32_t level) {
    HWY_DYNAMIC_DISPATCH(MixLevelImpl)(dst, old, neu, n, level);
}
void MixMask(TPixel32* dst, const TPixel32* old, const TPixel32* neu, const uint8_t* mask, size_t n,
             uint32_t level) {
    HWY_DYNAMIC_DISPATCH(MixMaskImpl)(dst, old, neu, mask, n, level);
}
void SelectMask(TPixel32* dst, const TPixel32* old, const TPixel32* neu, const uint8_t* mask, size_t n) {
    HWY_DYNAMIC_DISPATCH(SelectMaskImpl)(dst, old, neu, mask, n);
}
void FillMask(TPixel32* dst, const uint8_t* mask, size_t n, TPixel32 colour, uint32_t level) {
    HWY_DYNAMIC_DISPATCH(FillMaskImpl)(dst, mask, n, colour, level);
}
void AddColor(TPixel32* dst, const TPixel32* src, size_t n, TPixel32 colour) {
    HWY_DYNAMIC_DISPATCH(AddColorImpl)(dst, src, n, colour);
}
void SubColor(TPixel32* dst, const TPixel32* src, size_t n, TPixel32 colour) {
    HWY_DYNAMIC_DISPATCH(SubColorImpl)(dst, src, n, colour);
}
void AddScaled(TPixel32* dst, const TPixel32* src, size_t n, uint32_t level) {
    HWY_DYNAMIC_DISPATCH(AddScaledImpl)(dst, src, n, level);
}
void KeyToMask(uint8_t* mask, const TPixel32* src, size_t n, TPixel32 key) {
    HWY_DYNAMIC_DISPATCH(KeyToMaskImpl)(mask, src, n, key);
}
void CompositeCoverage(TPixel32* dst, uint8_t* dstCoverage, const uint8_t* coverage, size_t n,
                       TPixel32 colour) {
    HWY_DYNAMIC_DISPATCH(CompositeCoverageImpl)(dst, dstCoverage, coverage, n, colour);
}
void Reverse32(TPixel32* dst, const TPixel32* src, size_t n) {
    HWY_DYNAMIC_DISPATCH(Reverse32Impl)(dst, src, n);
}
void Reverse8(uint8_t* dst, const uint8_t* src, size_t n) {
    HWY_DYNAMIC_DISPATCH(Reverse8Impl)(dst, src, n);
}
void Gather32(TPixel32* dst, const TPixel32* src, const uint32_t* index, size_t n) {
    HWY_DYNAMIC_DISPATCH(Gather32Impl)(dst, src, index, n);
}

}  // namespace tova::kernels
#endif  // HWY_ONCE
