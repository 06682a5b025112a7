// Windows bitmaps for tests, built byte by byte in every kind Windows reads:
// any header size (info, with masks, version 4 and 5), compression, colour
// masks and colour table, with or without the file header; the pixel data
// as rows of 16- or 32-bit pixels or as run-length codes.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "graphics/cursor_bytes.h"

namespace tova::testing {

enum TBmpCompression : uint32_t { kBmpPlain = 0, kBmpRle8 = 1, kBmpRle4 = 2, kBmpMasks = 3 };
enum TBmpHeaderSize : uint32_t { kBmpInfo = 40, kBmpV3 = 56, kBmpV4 = 108, kBmpV5 = 124 };

struct TBmpSpec {
    int32_t Width = 0;
    int32_t Height = 0;  // negative: top-down
    uint16_t Bpp = 8;
    uint32_t Compression = kBmpPlain;
    uint32_t HeaderSize = kBmpInfo;
    std::vector<uint32_t> Colours{};  // the colour table (0x00RRGGBB); its size is the header's count
    // Red, green, blue and alpha: in a header of 52 bytes or more (alpha
    // from 56), else after the header when Compression is kBmpMasks.
    std::array<uint32_t, 4> Masks{};
    bool FileHeader = true;
};

inline std::vector<uint8_t> BmpBytes(const TBmpSpec& spec, const std::vector<uint8_t>& pixels) {
    std::vector<uint8_t> info;
    Put32(info, spec.HeaderSize);
    Put32(info, static_cast<uint32_t>(spec.Width));
    Put32(info, static_cast<uint32_t>(spec.Height));
    Put16(info, 1);
    Put16(info, spec.Bpp);
    for (uint32_t v : {spec.Compression, static_cast<uint32_t>(pixels.size()), 2835u, 2835u,
                       static_cast<uint32_t>(spec.Colours.size()), 0u})
        Put32(info, v);
    const size_t masks = spec.HeaderSize >= 56                                    ? 4
                         : spec.HeaderSize >= 52 || spec.Compression == kBmpMasks ? 3
                                                                                  : 0;
    for (size_t i = 0; i < masks; ++i)
        Put32(info, spec.Masks[i]);
    // The colour space, end points and gamma of the longer headers stay 0.
    if (info.size() < spec.HeaderSize) info.resize(spec.HeaderSize);
    for (uint32_t c : spec.Colours)
        Put32(info, c);
    std::vector<uint8_t> file;
    if (spec.FileHeader) {
        file = {'B', 'M'};
        Put32(file, static_cast<uint32_t>(14 + info.size() + pixels.size()));
        Put32(file, 0);
        Put32(file, static_cast<uint32_t>(14 + info.size()));
    }
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), pixels.begin(), pixels.end());
    return file;
}

// Rows of 16- or 32-bit pixels, given top row first: stored from the bottom
// up (or top-down), each padded to 4 bytes.
inline std::vector<uint8_t> PixelRows(const std::vector<std::vector<uint32_t>>& rows, int bpp, bool topDown) {
    std::vector<uint8_t> out;
    for (size_t i = 0; i < rows.size(); ++i) {
        for (uint32_t pixel : rows[topDown ? i : rows.size() - 1 - i])
            bpp == 16 ? Put16(out, pixel) : Put32(out, pixel);
        out.resize((out.size() + 3) / 4 * 4);
    }
    return out;
}

// Run-length codes of RLE8 (indices of a byte) or RLE4 (indices of 4 bits).
class TRleCodes {
public:
    explicit TRleCodes(int bpp) : bpp_(bpp) {}

    // count pixels of value: an index in RLE8, two alternating ones in RLE4 (high first).
    TRleCodes& Run(uint8_t count, uint8_t value) { return Put({count, value}); }
    // Three or more indices as they are, padded to an even number of bytes.
    TRleCodes& Literal(const std::vector<uint8_t>& indices) {
        Put({0, static_cast<uint8_t>(indices.size())});
        std::vector<uint8_t> packed;
        for (size_t i = 0; i < indices.size(); ++i) {
            if (bpp_ == 8)
                packed.push_back(indices[i]);
            else if (i % 2 == 0)
                packed.push_back(static_cast<uint8_t>(indices[i] << 4));
            else
                packed.back() |= indices[i];
        }
        if (packed.size() % 2) packed.push_back(0);
        return Put(packed);
    }
    TRleCodes& Delta(uint8_t right, uint8_t up) { return Put({0, 2, right, up}); }
    TRleCodes& EndOfLine() { return Put({0, 0}); }
    TRleCodes& EndOfBitmap() { return Put({0, 1}); }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    TRleCodes& Put(const std::vector<uint8_t>& bytes) {
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
        return *this;
    }

    int bpp_;
    std::vector<uint8_t> bytes_;
};

}  // namespace tova::testing
