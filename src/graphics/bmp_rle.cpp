// Run-length encoded bitmap pixels. The data is a sequence of two-byte
// codes: a count above 0 repeats the next byte's pixels (both of them,
// alternating, in RLE4); a count of 0 is an escape: 0 ends the line, 1 the
// bitmap, 2 moves right and up by the next two bytes, and 3 or more gives
// that many pixels as they are, padded to an even number of bytes.
#include <algorithm>

#include "graphics/bmp_pixels.h"

namespace tova {
namespace {

enum : uint8_t { kEndOfLine = 0, kEndOfBitmap = 1, kDelta = 2 };

// The pixels being written: a position that may run past the right edge
// (the pixels there are dropped) and past the top (decoding stops).
class TRlePen {
public:
    TRlePen(TSurface8& indices, int32_t bpp) : indices_(indices), bpp_(bpp) {}

    bool Done() const { return y_ >= indices_.Height(); }
    void NextLine() {
        x_ = 0;
        ++y_;
    }
    void Move(uint8_t right, uint8_t up) {
        x_ += right;
        y_ += up;
    }
    // count pixels from pair: the byte itself at 8 bits, else its two
    // halves, high first, alternating.
    void Run(int64_t count, uint8_t pair) {
        const int64_t shown = std::clamp<int64_t>(indices_.Width() - x_, 0, count);
        uint8_t* row = Row();
        for (int64_t i = 0; i < shown; ++i)
            row[x_ + i] = Pixel(pair, i);
        x_ += count;
    }
    // count pixels packed as stored (two to a byte in RLE4).
    void Literal(const uint8_t* bytes, int64_t count) {
        const int64_t shown = std::clamp<int64_t>(indices_.Width() - x_, 0, count);
        uint8_t* row = Row();
        for (int64_t i = 0; i < shown; ++i)
            row[x_ + i] = Pixel(bytes[bpp_ == 8 ? i : i / 2], i);
        x_ += count;
    }

private:
    uint8_t* Row() { return indices_.Row(indices_.Height() - 1 - static_cast<int32_t>(y_)); }
    uint8_t Pixel(uint8_t byte, int64_t i) const {
        if (bpp_ == 8) return byte;
        return i % 2 == 0 ? byte >> 4 : byte & 0x0F;
    }

    TSurface8& indices_;
    int32_t bpp_;
    int64_t x_ = 0;
    int64_t y_ = 0;
};

}  // namespace

void DecodeBmpRle(std::span<const uint8_t> data, int32_t bpp, TSurface8& indices) {
    TRlePen pen(indices, bpp);
    size_t at = 0;
    auto need = [&](size_t bytes) {
        if (bytes > data.size() - at) BmpDamaged("the pixel data is cut short");
    };
    while (!pen.Done()) {
        need(2);
        const uint8_t count = data[at], value = data[at + 1];
        at += 2;
        if (count > 0) {
            pen.Run(count, value);
        } else if (value == kEndOfLine) {
            pen.NextLine();
        } else if (value == kEndOfBitmap) {
            return;
        } else if (value == kDelta) {
            need(2);
            pen.Move(data[at], data[at + 1]);
            at += 2;
        } else {
            const size_t bytes = bpp == 8 ? value : (value + 1u) / 2;
            need(bytes + bytes % 2);
            pen.Literal(&data[at], value);
            at += bytes + bytes % 2;
        }
    }
}

}  // namespace tova
