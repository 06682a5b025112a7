// Reading and writing Windows bitmaps.
#include "graphics/bmp_file.h"

#include <algorithm>
#include <optional>
#include <string>

#include "core/binary_io.h"
#include "core/error.h"
#include "graphics/bmp_pixels.h"
#include "graphics/brio_planes.h"
#include "graphics/image_codecs.h"

namespace tova {

void BmpDamaged(const std::string& what) {
    throw ETovaError("damaged bitmap: " + what);
}

namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
// Longer info headers hold the colour masks from 52 bytes on, and the alpha mask from 56.
constexpr uint32_t kColourMasksInHeader = 52;
constexpr uint32_t kAlphaMaskInHeader = 56;
// The channels of uncompressed pixels: 5-5-5 in 16 bits; 8-8-8 and the
// fourth byte in 32 bits.
constexpr TBmpMasks kPlain16{0x7C00, 0x3E0, 0x1F, 0};
constexpr TBmpMasks kPlain32{0xFF0000, 0xFF00, 0xFF, 0xFF000000};

void Need(std::span<const uint8_t> data, uint64_t offset, uint64_t size, const char* what) {
    if (offset > data.size() || size > data.size() - offset) BmpDamaged(std::string(what) + " is cut short");
}

bool IsRunLength(uint32_t compression) {
    return compression == kBiRle8 || compression == kBiRle4;
}

// What the headers say about the picture and where its parts are.
struct TBmpLayout {
    int32_t Width = 0;
    int32_t Height = 0;
    bool TopDown = false;
    int32_t Bpp = 0;
    uint32_t Compression = kBiRgb;
    TBmpMasks Masks;       // 16 and 32 bits per pixel
    uint64_t Palette = 0;  // where the colour table starts
    uint32_t Colours = 0;  // its entries
    uint32_t EntrySize = 4;
    uint64_t PixelOffset = 0;
};

// The masks of a bitmap with colour masks: after a 40-byte header, or in a
// longer one. 32-bit pixels whose masks leave the fourth byte free keep it
// as alpha, as plain ones do, unless the header gives an alpha mask.
TBmpMasks ReadMasks(std::span<const uint8_t> data, uint64_t header, uint32_t headerSize, TBmpLayout& layout) {
    const uint64_t at = headerSize >= kColourMasksInHeader ? header + kInfoHeaderSize : layout.Palette;
    Need(data, at, 12, "the colour masks");
    TBmpMasks masks{LoadLE32(&data[at]), LoadLE32(&data[at + 4]), LoadLE32(&data[at + 8]),
                    headerSize >= kAlphaMaskInHeader ? LoadLE32(&data[header + 52]) : 0};
    if (headerSize < kColourMasksInHeader) layout.Palette += 12;
    if (layout.Bpp == 32 && masks.Alpha == 0 && ((masks.Red | masks.Green | masks.Blue) >> 24) == 0)
        masks.Alpha = kPlain32.Alpha;
    if (!BmpMasksFit(masks, layout.Bpp)) BmpDamaged("unsupported colour masks");
    return masks;
}

TBmpLayout ReadLayout(std::span<const uint8_t> data, const TDecodeLimits& limits) {
    TBmpLayout layout;
    uint64_t header = 0;
    std::optional<uint64_t> pixelOffset;
    if (data.size() >= 2 && data[0] == 'B' && data[1] == 'M') {
        Need(data, 0, 14, "the file header");
        pixelOffset = LoadLE32(&data[10]);
        header = 14;
    }
    Need(data, header, 4, "the bitmap header");
    const uint32_t headerSize = LoadLE32(&data[header]);
    if (headerSize != kCoreHeaderSize && (headerSize < kInfoHeaderSize || headerSize > 1024))
        BmpDamaged("unknown header size");
    Need(data, header, headerSize, "the bitmap header");
    const uint8_t* h = &data[header];
    int64_t width, height;
    if (headerSize == kCoreHeaderSize) {
        width = LoadLE16(h + 4);
        height = static_cast<int16_t>(LoadLE16(h + 6));
        layout.Bpp = LoadLE16(h + 10);
        layout.EntrySize = 3;
    } else {
        width = static_cast<int32_t>(LoadLE32(h + 4));
        height = static_cast<int32_t>(LoadLE32(h + 8));
        layout.Bpp = LoadLE16(h + 14);
        layout.Compression = LoadLE32(h + 16);
        layout.Colours = LoadLE32(h + 32);
    }
    layout.TopDown = height < 0;
    if (layout.TopDown) height = -height;
    CheckImageSize(width, height, limits);
    layout.Width = static_cast<int32_t>(width);
    layout.Height = static_cast<int32_t>(height);
    const int32_t bpp = layout.Bpp;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        BmpDamaged(std::to_string(bpp) + " bits per pixel are not supported");
    layout.Palette = header + headerSize;
    if (layout.Compression == kBiRgb) {
        layout.Masks = bpp == 16 ? kPlain16 : kPlain32;
    } else if (IsRunLength(layout.Compression)) {
        const int32_t needed = layout.Compression == kBiRle8 ? 8 : 4;
        if (bpp != needed)
            BmpDamaged("RLE" + std::to_string(needed) + " needs " + std::to_string(needed) +
                       " bits per pixel");
        // Codes fill the rows from the bottom up only.
        if (layout.TopDown) BmpDamaged("a run-length encoded bitmap cannot be top-down");
    } else if (layout.Compression == kBiBitfields) {
        if (bpp != 16 && bpp != 32) BmpDamaged("colour masks need 16 or 32 bits per pixel");
        layout.Masks = ReadMasks(data, header, headerSize, layout);
    } else {
        BmpDamaged("compressed bitmaps are not supported");
    }
    // Palette bitmaps have at most the entries of their depth; others may
    // carry a table of colours for palette displays, which is skipped.
    if (bpp <= 8 && (layout.Colours == 0 || layout.Colours > 1u << bpp)) layout.Colours = 1u << bpp;
    layout.PixelOffset = pixelOffset.value_or(layout.Palette + uint64_t{layout.Colours} * layout.EntrySize);
    return layout;
}

void ReadPalette(std::span<const uint8_t> data, const TBmpLayout& layout, TBrioFrame& frame) {
    Need(data, layout.Palette, uint64_t{layout.Colours} * layout.EntrySize, "the palette");
    frame.Palette.assign(size_t{1} << layout.Bpp, 0);
    for (uint32_t i = 0; i < layout.Colours; ++i) {
        const uint8_t* p = &data[layout.Palette + i * layout.EntrySize];
        frame.Palette[i] = p[0] | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16;
    }
}

// An alpha channel that is 0 everywhere marks a picture that has none
// (writers leave the spare bits 0): it is opaque, not invisible.
void KeepAlphaUnlessZero(TSurface8& alpha, TBrioFrame& frame, TImageBudget& budget) {
    for (int32_t y = 0; y < alpha.Height(); ++y) {
        const uint8_t* row = alpha.Row(y);
        if (std::any_of(row, row + alpha.Width(), [](uint8_t a) { return a != 0; })) {
            frame.Mask = std::move(alpha);
            frame.HasMask = true;
            return;
        }
    }
    budget.Give(alpha.Bytes());
}

// Palette indices, 24-bit pixels and the usual 32-bit ones, as the rows of
// a layered image.
void ReadPlainRows(std::span<const uint8_t> pixels, const TBmpLayout& layout, TBrioFrame& frame,
                   TImageBudget& budget) {
    const int32_t bpp = layout.Bpp, w = layout.Width, hgt = layout.Height;
    const int64_t stride = BrioRowStride(bpp, w);
    // Rows are decoded as plain layered-image rows, then put upright.
    TBudgetHold rowsHold(budget);
    rowsHold.Take(stride * hgt);
    std::vector<uint8_t> rows(static_cast<size_t>(stride * hgt));
    for (int32_t i = 0; i < hgt; ++i) {
        const int32_t y = layout.TopDown ? i : hgt - 1 - i;
        std::copy_n(&pixels[static_cast<uint64_t>(stride) * i], stride, rows.begin() + stride * y);
    }
    frame.Picture.Resize(frame.Bpp, w, hgt, budget);
    TBrioPlaneOut plane{bpp, bpp <= 8 ? &frame.Picture.Indices : nullptr,
                        bpp <= 8 ? nullptr : &frame.Picture.Colour};
    DecodeBrioPlain(rows, plane, std::nullopt);
    if (bpp == 32) {
        TSurface8 alpha;
        budget.Resize(alpha, w, hgt);
        for (int32_t y = 0; y < hgt; ++y)
            for (int32_t x = 0; x < w; ++x)
                alpha.Row(y)[x] = rows[static_cast<size_t>(stride * y + 4 * x + 3)];
        KeepAlphaUnlessZero(alpha, frame, budget);
    }
}

}  // namespace

void ReadBmp(std::span<const uint8_t> data, TBrioFrame& frame, const TDecodeLimits& limits) {
    const TBmpLayout layout = ReadLayout(data, limits);
    TImageBudget ownBudget;
    TImageBudget& budget = limits.Budget ? *limits.Budget : ownBudget;
    const int32_t w = layout.Width, h = layout.Height;
    frame.Bpp = layout.Bpp <= 8 ? layout.Bpp : 24;
    if (layout.Bpp <= 8) ReadPalette(data, layout, frame);
    if (IsRunLength(layout.Compression)) {
        Need(data, layout.PixelOffset, 0, "the pixel data");
        frame.Picture.Resize(frame.Bpp, w, h, budget);
        DecodeBmpRle(data.subspan(layout.PixelOffset), layout.Bpp, frame.Picture.Indices);
        return;
    }
    const uint64_t size = static_cast<uint64_t>(BrioRowStride(layout.Bpp, w)) * static_cast<uint64_t>(h);
    Need(data, layout.PixelOffset, size, "the pixel data");
    const std::span<const uint8_t> pixels = data.subspan(layout.PixelOffset, size);
    if (layout.Bpp != 16 && (layout.Bpp != 32 || layout.Masks == kPlain32)) {
        ReadPlainRows(pixels, layout, frame, budget);
        return;
    }
    frame.Picture.Resize(frame.Bpp, w, h, budget);
    TSurface8 alpha;
    if (layout.Masks.Alpha != 0) budget.Resize(alpha, w, h);
    DecodeBmpMasked(pixels, layout.Bpp, layout.Masks, layout.TopDown, frame.Picture.Colour,
                    layout.Masks.Alpha != 0 ? &alpha : nullptr);
    if (layout.Masks.Alpha != 0) KeepAlphaUnlessZero(alpha, frame, budget);
}

std::vector<uint8_t> WriteBmp(const TBrioFrame& frame, bool withMask) {
    const TBrioPicture& p = frame.Picture;
    const int32_t bpp = p.IsPalette() ? p.Bpp : (withMask ? 32 : 24);
    const int32_t w = p.Width(), h = p.Height();
    const int64_t stride = BrioRowStride(bpp, w);
    const uint32_t entries = p.IsPalette() ? 1u << bpp : 0;
    const uint32_t offset = 14 + 40 + entries * 4;
    TTpMemoryStream s;
    s.WriteBuffer("BM", 2);
    WriteU32(s, static_cast<uint32_t>(offset + stride * h));
    WriteU32(s, 0);
    WriteU32(s, offset);
    for (uint32_t v : {40u, static_cast<uint32_t>(w), static_cast<uint32_t>(h)})
        WriteU32(s, v);
    WriteU16(s, 1);
    WriteU16(s, static_cast<uint16_t>(bpp));
    for (uint32_t v : {kBiRgb, static_cast<uint32_t>(stride * h), 2835u, 2835u, entries, 0u})
        WriteU32(s, v);
    for (uint32_t i = 0; i < entries; ++i)
        WriteU32(s, i < frame.Palette.size() ? frame.Palette[i] : 0);
    const TBrioPlaneIn plane{bpp, p.IsPalette() ? &p.Indices : nullptr, p.IsPalette() ? nullptr : &p.Colour};
    const std::vector<uint8_t> rows = EncodeBrioPlain(plane, std::nullopt);
    for (int32_t y = h - 1; y >= 0; --y) {
        std::vector<uint8_t> row(rows.begin() + stride * y, rows.begin() + stride * (y + 1));
        if (bpp == 32 && frame.HasMask)
            for (int32_t x = 0; x < w; ++x)
                row[static_cast<size_t>(4 * x + 3)] = frame.Mask.Row(y)[x];
        s.WriteBuffer(row);
    }
    return std::move(s.Bytes());
}

}  // namespace tova
