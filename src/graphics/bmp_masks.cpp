// Bitmap pixels of 16 or 32 bits whose channels lie where bit masks say.
#include <array>
#include <bit>

#include "core/binary_io.h"
#include "graphics/bmp_pixels.h"
#include "graphics/brio_planes.h"

namespace tova {
namespace {

// One channel: its bits within the pixel and their 8-bit values. A channel
// of more than 8 bits keeps its top 8.
class TChannel {
public:
    explicit TChannel(uint32_t mask) {
        if (mask == 0) return;
        shift_ = std::countr_zero(mask);
        int bits = std::popcount(mask);
        if (bits > 8) {
            shift_ += bits - 8;
            bits = 8;
        }
        values_ = (1u << bits) - 1;
        for (uint32_t v = 0; v <= values_; ++v) {
            // The value's bits repeated until they fill 8 bits.
            uint32_t wide = 0;
            int filled = 0;
            for (; filled < 8; filled += bits)
                wide = wide << bits | v;
            table_[v] = static_cast<uint8_t>(wide >> (filled - 8));
        }
    }
    uint8_t operator()(uint32_t pixel) const { return table_[(pixel >> shift_) & values_]; }

private:
    int shift_ = 0;
    uint32_t values_ = 0;
    std::array<uint8_t, 256> table_{};
};

bool FitsOneRun(uint32_t mask, int32_t bpp) {
    if (bpp < 32 && mask >> bpp != 0) return false;
    const uint64_t run = mask == 0 ? 0 : uint64_t{mask} >> std::countr_zero(mask);
    return (run & (run + 1)) == 0;
}

}  // namespace

bool BmpMasksFit(const TBmpMasks& masks, int32_t bpp) {
    return FitsOneRun(masks.Red, bpp) && FitsOneRun(masks.Green, bpp) && FitsOneRun(masks.Blue, bpp) &&
           FitsOneRun(masks.Alpha, bpp);
}

void DecodeBmpMasked(std::span<const uint8_t> rows, int32_t bpp, const TBmpMasks& masks, bool topDown,
                     TSurface32& colour, TSurface8* alpha) {
    const TChannel red(masks.Red), green(masks.Green), blue(masks.Blue), opacity(masks.Alpha);
    const int32_t width = colour.Width(), height = colour.Height();
    const auto stride = static_cast<size_t>(BrioRowStride(bpp, width));
    const size_t pixelBytes = static_cast<size_t>(bpp) / 8;
    for (int32_t i = 0; i < height; ++i) {
        const int32_t y = topDown ? i : height - 1 - i;
        const uint8_t* in = rows.data() + stride * static_cast<size_t>(i);
        TPixel32* out = colour.Row(y);
        uint8_t* outAlpha = alpha ? alpha->Row(y) : nullptr;
        for (int32_t x = 0; x < width; ++x, in += pixelBytes) {
            const uint32_t pixel = bpp == 16 ? LoadLE16(in) : LoadLE32(in);
            out[x] = uint32_t{red(pixel)} << 16 | uint32_t{green(pixel)} << 8 | blue(pixel);
            if (outAlpha) outAlpha[x] = opacity(pixel);
        }
    }
}

}  // namespace tova
