// Reading and writing Windows bitmaps.
#include "graphics/bmp_file.h"

#include <string>

#include "core/binary_io.h"
#include "core/error.h"
#include "graphics/brio_planes.h"
#include "graphics/image_codecs.h"

namespace tova {
namespace {

[[noreturn]] void Damaged(const std::string& what) {
    throw ETovaError("damaged bitmap: " + what);
}

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;

void Need(std::span<const uint8_t> data, uint64_t offset, uint64_t size, const char* what) {
    if (offset > data.size() || size > data.size() - offset) Damaged(std::string(what) + " is cut short");
}

}  // namespace

void ReadBmp(std::span<const uint8_t> data, TBrioFrame& frame, const TDecodeLimits& limits) {
    uint64_t header = 0;
    std::optional<uint64_t> pixelOffset;
    if (data.size() >= 2 && data[0] == 'B' && data[1] == 'M') {
        Need(data, 0, 14, "the file header");
        pixelOffset = LoadLE32(&data[10]);
        header = 14;
    }
    Need(data, header, 4, "the bitmap header");
    const uint32_t headerSize = LoadLE32(&data[header]);
    if (headerSize != 12 && (headerSize < 40 || headerSize > 1024)) Damaged("unknown header size");
    Need(data, header, headerSize, "the bitmap header");
    const uint8_t* h = &data[header];
    int64_t width, height;
    uint32_t bpp, compression = kBiRgb, colours = 0;
    if (headerSize == 12) {
        width = LoadLE16(h + 4);
        height = static_cast<int16_t>(LoadLE16(h + 6));
        bpp = LoadLE16(h + 10);
    } else {
        width = static_cast<int32_t>(LoadLE32(h + 4));
        height = static_cast<int32_t>(LoadLE32(h + 8));
        bpp = LoadLE16(h + 14);
        compression = LoadLE32(h + 16);
        colours = LoadLE32(h + 32);
    }
    const bool topDown = height < 0;
    if (topDown) height = -height;
    CheckImageSize(width, height, limits);
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32)
        Damaged(std::to_string(bpp) + " bits per pixel are not supported");
    uint64_t tables = header + headerSize;
    if (compression == kBiBitfields && bpp == 32) {
        // Only the usual masks (the layout of plain 32-bit pixels) are accepted.
        const uint64_t masks = headerSize >= 52 ? header + 40 : tables;
        Need(data, masks, 12, "the colour masks");
        if (LoadLE32(&data[masks]) != 0xFF0000u || LoadLE32(&data[masks + 4]) != 0xFF00u ||
            LoadLE32(&data[masks + 8]) != 0xFFu)
            Damaged("unsupported colour masks");
        if (headerSize < 52) tables += 12;
    } else if (compression != kBiRgb) {
        Damaged("compressed bitmaps are not supported");
    }
    frame.Bpp = bpp == 32 ? 24 : static_cast<int32_t>(bpp);
    if (bpp <= 8) {
        const uint32_t entries = 1u << bpp;
        if (colours == 0 || colours > entries) colours = entries;
        const uint32_t entrySize = headerSize == 12 ? 3 : 4;
        Need(data, tables, uint64_t{colours} * entrySize, "the palette");
        frame.Palette.assign(entries, 0);
        for (uint32_t i = 0; i < colours; ++i) {
            const uint8_t* p = &data[tables + i * entrySize];
            frame.Palette[i] = p[0] | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16;
        }
        tables += uint64_t{colours} * entrySize;
    }
    const uint64_t offset = pixelOffset.value_or(tables);
    const auto w = static_cast<int32_t>(width), hgt = static_cast<int32_t>(height);
    const int64_t stride = BrioRowStride(static_cast<int32_t>(bpp), w);
    Need(data, offset, static_cast<uint64_t>(stride) * static_cast<uint64_t>(hgt), "the pixel data");
    TImageBudget ownBudget;
    TImageBudget& budget = limits.Budget ? *limits.Budget : ownBudget;
    // Rows are decoded as plain layered-image rows, then put upright.
    TBudgetHold rowsHold(budget);
    rowsHold.Take(stride * hgt);
    std::vector<uint8_t> rows(static_cast<size_t>(stride * hgt));
    for (int32_t i = 0; i < hgt; ++i) {
        const int32_t y = topDown ? i : hgt - 1 - i;
        std::copy_n(&data[offset + static_cast<uint64_t>(stride) * i], stride, rows.begin() + stride * y);
    }
    frame.Picture.Resize(frame.Bpp, w, hgt, budget);
    TBrioPlaneOut plane{static_cast<int32_t>(bpp), bpp <= 8 ? &frame.Picture.Indices : nullptr,
                        bpp <= 8 ? nullptr : &frame.Picture.Colour};
    DecodeBrioPlain(rows, plane, std::nullopt);
    if (bpp == 32) {
        TSurface8 mask;
        budget.Resize(mask, w, hgt);
        bool any = false;
        for (int32_t y = 0; y < hgt; ++y)
            for (int32_t x = 0; x < w; ++x) {
                const uint8_t a = rows[static_cast<size_t>(stride * y + 4 * x + 3)];
                mask.Row(y)[x] = a;
                any |= a != 0;
            }
        if (any) {
            frame.Mask = std::move(mask);
            frame.HasMask = true;
        } else {
            budget.Give(mask.Bytes());
        }
    }
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
