// PNG through libpng's simplified interface: decoding within the size
// limits and the load budget, once the file has shown that its compressed
// pixel data can give the picture it announces; and encoding.
#include <algorithm>
#include <cstring>
#include <string>

#include <png.h>

#include "core/error.h"
#include "graphics/image_codecs.h"

namespace tova {
namespace {

uint32_t LoadBE32(const uint8_t* p) {
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

// The bytes of the IDAT chunks that are there (a chunk cut short counts
// with what is left of it).
uint64_t PixelDataBytes(std::span<const uint8_t> data) {
    uint64_t total = 0;
    for (uint64_t at = 8; at + 8 <= data.size();) {
        const uint64_t length = LoadBE32(&data[at]);
        const uint64_t left = data.size() - (at + 8);
        if (std::memcmp(&data[at + 4], "IDAT", 4) == 0) total += std::min(length, left);
        if (std::memcmp(&data[at + 4], "IEND", 4) == 0) break;
        at += 12 + length;
    }
    return total;
}

// The filtered rows a picture needs at least: its pixels at the header's
// depth and channels (filter bytes and interlacing only add to it).
uint64_t LeastRowBytes(std::span<const uint8_t> data, uint64_t width, uint64_t height) {
    const uint64_t depth = data[24];
    uint64_t channels = 1;
    switch (data[25]) {
        case 2:
            channels = 3;
            break;
        case 4:
            channels = 2;
            break;
        case 6:
            channels = 4;
            break;
        default:
            break;
    }
    return (width * depth * channels + 7) / 8 * height;
}

}  // namespace

TDecodedImage DecodePng(std::span<const uint8_t> data, const TDecodeLimits& limits) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, data.data(), data.size()))
        throw ETovaError(std::string("damaged PNG data: ") + png.message);
    struct TGuard {
        png_image* Png;
        ~TGuard() { png_image_free(Png); }
    } guard{&png};
    CheckImageSize(png.width, png.height, limits);
    // The header has been read, so the signature and IHDR (width, height,
    // depth, colour type) are the file's first 26 bytes.
    if (MaxInflatedSize(PixelDataBytes(data)) <
        static_cast<int64_t>(LeastRowBytes(data, png.width, png.height)))
        throw ETovaError("damaged PNG data: the compressed pixel data is too short for a picture of " +
                         std::to_string(png.width) + " x " + std::to_string(png.height) + " pixels");
    TImageBudget ownBudget;
    TImageBudget& budget = limits.Budget ? *limits.Budget : ownBudget;
    TDecodedImage image;
    // The file's own format tells whether it has transparency; a tRNS chunk
    // counts as alpha in the simplified interface.
    image.HasAlpha = (png.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    png.format = PNG_FORMAT_BGRA;
    const auto width = static_cast<int32_t>(png.width), height = static_cast<int32_t>(png.height);
    // libpng's own rows: the current and the previous one, and one it converts in (8 bytes a pixel at most).
    TBudgetHold decoderMemory(budget);
    decoderMemory.Take(3 * (int64_t{width} * 8 + 64));
    budget.Resize(image.Colour, width, height);
    if (image.HasAlpha) budget.Resize(image.Alpha, width, height);
    if (!png_image_finish_read(&png, nullptr, image.Colour.Data(), image.Colour.Stride() * 4, nullptr))
        throw ETovaError(std::string("damaged PNG data: ") + png.message);
    for (int32_t y = 0; y < image.Colour.Height(); ++y) {
        TPixel32* row = image.Colour.Row(y);
        uint8_t* alpha = image.HasAlpha ? image.Alpha.Row(y) : nullptr;
        for (int32_t x = 0; x < image.Colour.Width(); ++x) {
            if (alpha) alpha[x] = static_cast<uint8_t>(row[x] >> 24);
            row[x] &= 0x00FFFFFFu;
        }
    }
    return image;
}

std::vector<uint8_t> EncodePng(TConstView32 colour, const TConstView8* alpha) {
    const size_t channels = alpha ? 4 : 3;
    std::vector<uint8_t> pixels(static_cast<size_t>(colour.Width) * static_cast<size_t>(colour.Height) *
                                channels);
    uint8_t* out = pixels.data();
    for (int32_t y = 0; y < colour.Height; ++y)
        for (int32_t x = 0; x < colour.Width; ++x) {
            const TPixel32 c = colour.Row(y)[x];
            *out++ = static_cast<uint8_t>(c);
            *out++ = static_cast<uint8_t>(c >> 8);
            *out++ = static_cast<uint8_t>(c >> 16);
            if (alpha) *out++ = alpha->Row(y)[x];
        }
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(colour.Width);
    png.height = static_cast<png_uint_32>(colour.Height);
    png.format = alpha ? PNG_FORMAT_BGRA : PNG_FORMAT_BGR;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&png, nullptr, &size, 0, pixels.data(), 0, nullptr))
        throw ETovaError(std::string("PNG encoding failed: ") + png.message);
    std::vector<uint8_t> bytes(size);
    if (!png_image_write_to_memory(&png, bytes.data(), &size, 0, pixels.data(), 0, nullptr))
        throw ETovaError(std::string("PNG encoding failed: ") + png.message);
    bytes.resize(size);
    return bytes;
}

}  // namespace tova
