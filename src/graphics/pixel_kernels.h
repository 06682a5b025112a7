// Per-row pixel kernels behind the drawing operations. Each kernel exists
// twice with the same signature: a plain scalar reference (namespace
// kernels_ref) that states the arithmetic, and a SIMD version (namespace
// kernels) that dispatches at run time to the best instruction set built in
// and must give the same bytes. The drawing operations clip first and call a
// kernel once per row with n > 0 pixels; rows may have any alignment. A
// destination may be the same row as an old/source row (in place), but must
// not otherwise overlap the rows it reads.
//
// "mix(o, n, k)" below is o for k = 0, n for k = 255, else
// (k * n + (255 - k) * o) / 256 per channel, as described in draw_ops.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "graphics/surface.h"

namespace tova {

#define TOVA_PIXEL_KERNELS(NS)                                                                               \
    namespace NS {                                                                                           \
    /* dst = mix(old, neu, level), level 1..254 */                                                           \
    void MixLevel(TPixel32* dst, const TPixel32* old, const TPixel32* neu, size_t n, uint32_t level);        \
    /* dst = mix(old, neu, k) with k = mask (level 255) or (mask * level + 255) / 256 */                     \
    void MixMask(TPixel32* dst, const TPixel32* old, const TPixel32* neu, const uint8_t* mask, size_t n,     \
                 uint32_t level);                                                                            \
    /* dst = mask != 0 ? neu : old */                                                                        \
    void SelectMask(TPixel32* dst, const TPixel32* old, const TPixel32* neu, const uint8_t* mask, size_t n); \
    /* dst = mix(dst, colour, k), k as in MixMask */                                                         \
    void FillMask(TPixel32* dst, const uint8_t* mask, size_t n, TPixel32 colour, uint32_t level);            \
    /* dst = src + colour per byte, saturating */                                                            \
    void AddColor(TPixel32* dst, const TPixel32* src, size_t n, TPixel32 colour);                            \
    /* dst = src - colour per byte, saturating at 0 */                                                       \
    void SubColor(TPixel32* dst, const TPixel32* src, size_t n, TPixel32 colour);                            \
    /* dst = dst + (src * level + 255) / 256 per byte, saturating; level 0..255 */                           \
    void AddScaled(TPixel32* dst, const TPixel32* src, size_t n, uint32_t level);                            \
    /* mask = src == key ? 0 : 255 */                                                                        \
    void KeyToMask(uint8_t* mask, const TPixel32* src, size_t n, TPixel32 key);                              \
    /* coverage compositing of a solid colour into a colour + coverage pair */                               \
    void CompositeCoverage(TPixel32* dst, uint8_t* dstCoverage, const uint8_t* coverage, size_t n,           \
                           TPixel32 colour);                                                                 \
    /* dst[i] = src[n - 1 - i] (horizontal flips) */                                                         \
    void Reverse32(TPixel32* dst, const TPixel32* src, size_t n);                                            \
    void Reverse8(uint8_t* dst, const uint8_t* src, size_t n);                                               \
    /* dst[i] = src[index[i]] (nearest stretch, rotation) */                                                 \
    void Gather32(TPixel32* dst, const TPixel32* src, const uint32_t* index, size_t n);                      \
    }

TOVA_PIXEL_KERNELS(kernels_ref)
TOVA_PIXEL_KERNELS(kernels)

#undef TOVA_PIXEL_KERNELS

}  // namespace tova
