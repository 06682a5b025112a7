// The scalar reference kernels: one pixel and one channel at a time, written
// for clarity. The SIMD kernels are tested against these bit for bit.
#include <algorithm>

#include "graphics/pixel_kernels.h"

namespace tova::kernels_ref {

namespace {

uint32_t Channel(TPixel32 p, int shift) {
    return (p >> shift) & 0xFFu;
}

uint32_t MixChannel(uint32_t o, uint32_t n, uint32_t k) {
    if (k == 0) return o;
    if (k == 255) return n;
    return (k * n + (255 - k) * o) / 256;
}

TPixel32 MixPixel(TPixel32 o, TPixel32 n, uint32_t k) {
    TPixel32 r = 0;
    for (int shift = 0; shift < 32; shift += 8)
        r |= MixChannel(Channel(o, shift), Channel(n, shift), k) << shift;
    return r;
}

uint32_t MaskWeight(uint32_t m, uint32_t level) {
    return level == 255 ? m : (m * level + 255) / 256;
}

}  // namespace

void MixLevel(TPixel32* dst, const TPixel32* old, const TPixel32* neu, size_t n, uint32_t level) {
    for (size_t i = 0; i < n; ++i)
        dst[i] = MixPixel(old[i], neu[i], level);
}

void MixMask(TPixel32* dst, const TPixel32* old, const TPixel32* neu, const uint8_t* mask, size_t n,
             uint32_t level) {
    for (size_t i = 0; i < n; ++i)
        dst[i] = MixPixel(old[i], neu[i], MaskWeight(mask[i], level));
}

void SelectMask(TPixel32* dst, const TPixel32* old, const TPixel32* neu, const uint8_t* mask, size_t n) {
    for (size_t i = 0; i < n; ++i)
        dst[i] = mask[i] != 0 ? neu[i] : old[i];
}

void FillMask(TPixel32* dst, const uint8_t* mask, size_t n, TPixel32 colour, uint32_t level) {
    for (size_t i = 0; i < n; ++i)
        dst[i] = MixPixel(dst[i], colour, MaskWeight(mask[i], level));
}

void AddColor(TPixel32* dst, const TPixel32* src, size_t n, TPixel32 colour) {
    for (size_t i = 0; i < n; ++i) {
        TPixel32 r = 0;
        for (int shift = 0; shift < 32; shift += 8)
            r |= std::min(255u, Channel(src[i], shift) + Channel(colour, shift)) << shift;
        dst[i] = r;
    }
}

void SubColor(TPixel32* dst, const TPixel32* src, size_t n, TPixel32 colour) {
    for (size_t i = 0; i < n; ++i) {
        TPixel32 r = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            uint32_t s = Channel(src[i], shift), c = Channel(colour, shift);
            r |= (s > c ? s - c : 0) << shift;
        }
        dst[i] = r;
    }
}

void AddScaled(TPixel32* dst, const TPixel32* src, size_t n, uint32_t level) {
    for (size_t i = 0; i < n; ++i) {
        TPixel32 r = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            uint32_t add = (Channel(src[i], shift) * level + 255) / 256;
            r |= std::min(255u, Channel(dst[i], shift) + add) << shift;
        }
        dst[i] = r;
    }
}

void KeyToMask(uint8_t* mask, const TPixel32* src, size_t n, TPixel32 key) {
    for (size_t i = 0; i < n; ++i)
        mask[i] = src[i] == key ? 0 : 255;
}

void CompositeCoverage(TPixel32* dst, uint8_t* dstCoverage, const uint8_t* coverage, size_t n,
                       TPixel32 colour) {
    for (size_t i = 0; i < n; ++i) {
        uint32_t v = coverage[i];
        if (v == 0) continue;
        if (v == 255) {
            dst[i] = colour;
            dstCoverage[i] = 255;
            continue;
        }
        uint32_t a = dstCoverage[i];
        uint32_t combined = a + v * (255 - a) / 255;
        dst[i] = MixPixel(dst[i], colour, v * 255 / combined);
        dstCoverage[i] = static_cast<uint8_t>(combined);
    }
}

void Reverse32(TPixel32* dst, const TPixel32* src, size_t n) {
    std::reverse_copy(src, src + n, dst);
}

void Reverse8(uint8_t* dst, const uint8_t* src, size_t n) {
    std::reverse_copy(src, src + n, dst);
}

void Gather32(TPixel32* dst, const TPixel32* src, const uint32_t* index, size_t n) {
    for (size_t i = 0; i < n; ++i)
        dst[i] = src[index[i]];
}

}  // namespace tova::kernels_ref
