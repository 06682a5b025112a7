// Pictures for the image tests: deterministic pixels with repeated blocks
// (so that tiled writers find tiles to share) and a little noise.
#pragma once

#include <cstdint>
#include <vector>

#include "core/stream.h"
#include "graphics/brio_image.h"

namespace tova::test {

inline uint32_t Hash(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    return x ^ (x >> 16);
}

// Fills a layer's picture at the frame's depth; seed varies the content,
// while blocks of 16 x 8 pixels repeat across the picture.
inline void FillPicture(TBrioPicture& p, int32_t bpp, int32_t w, int32_t h, uint32_t seed) {
    p.Resize(bpp, w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            const bool noisy = (x / 16 + y / 8) % 3 == 0;
            const uint32_t v = Hash(noisy ? seed * 1000003u + static_cast<uint32_t>(y * w + x)
                                          : static_cast<uint32_t>((x % 16) * 31 + (y % 8) * 7));
            if (p.IsPalette())
                p.Indices.Row(y)[x] = static_cast<uint8_t>(v & ((1u << bpp) - 1));
            else
                p.Colour.Row(y)[x] = v & 0x00FFFFFFu;
        }
}

inline void FillAlpha(TBrioLayer& layer, int32_t w, int32_t h, uint32_t seed) {
    layer.HasAlpha = true;
    layer.Alpha.Resize(w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
            layer.Alpha.Row(y)[x] = static_cast<uint8_t>(Hash(seed + x / 4 + y * 7));
}

inline std::vector<TPixel32> Palette(int32_t bpp) {
    std::vector<TPixel32> palette(size_t{1} << bpp);
    for (size_t i = 0; i < palette.size(); ++i)
        palette[i] = Hash(static_cast<uint32_t>(i) + 77) & 0x00FFFFFFu;
    return palette;
}

inline std::vector<uint8_t> Save(const TBrioFrameList& list, const TBrioWriteOptions& options = {}) {
    TTpMemoryStream s;
    list.SaveToStream(s, options);
    return s.Bytes();
}

inline void Load(TBrioFrameList& list, const std::vector<uint8_t>& bytes) {
    TTpMemoryStream s(bytes);
    list.LoadFromStream(s);
}

template <class Surface>
bool SameSurface(const Surface& a, const Surface& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int32_t y = 0; y < a.Height(); ++y)
        for (int32_t x = 0; x < a.Width(); ++x)
            if (a.Row(y)[x] != b.Row(y)[x]) return false;
    return true;
}

// A surface's pixels row by row, top first, to compare with what a test wrote.
using TPixelRows = std::vector<std::vector<uint32_t>>;
template <class Surface>
TPixelRows PixelsOf(const Surface& s) {
    TPixelRows rows(static_cast<size_t>(s.Height()));
    for (int32_t y = 0; y < s.Height(); ++y)
        rows[static_cast<size_t>(y)].assign(s.Row(y), s.Row(y) + s.Width());
    return rows;
}

}  // namespace tova::test
