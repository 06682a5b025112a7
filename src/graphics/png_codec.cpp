// PNG through libpng: decoding with libpng's plain reader, which gives the
// samples as the file stores them (no gamma or colour-space conversion),
// within the size limits and the load budget, once the file has shown that
// its compressed pixel data can give the picture it announces; and encoding
// through its simplified writer.
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

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

// What libpng's callbacks share with the reader: the file, how much of it
// has been read, and the message of the error that stopped libpng.
struct TPngRead {
    std::span<const uint8_t> Data;
    size_t At = 0;
    char Message[200] = {};
};

void ReadFromMemory(png_structp png, png_bytep out, size_t size) {
    TPngRead& read = *static_cast<TPngRead*>(png_get_io_ptr(png));
    if (size > read.Data.size() - read.At) png_error(png, "the file is cut short");
    std::memcpy(out, read.Data.data() + read.At, size);
    read.At += size;
}

[[noreturn]] void StopOnError(png_structp png, png_const_charp message) {
    TPngRead& read = *static_cast<TPngRead*>(png_get_error_ptr(png));
    std::snprintf(read.Message, sizeof read.Message, "%s", message);
    png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

// libpng reports errors by a long jump back to the setjmp of the function
// that called it; these two functions hold nothing that needs destroying,
// so the jump skips no destructor. Each gives false on an error.

// Reads the chunks before the pixel data and asks for 8-bit BGRA (or BGR
// and a 0 byte) pixels: palettes and grey expanded, transparency (an alpha
// channel or tRNS) as alpha, 16-bit samples cut to their top byte,
// interlaced passes put together. Chunks the picture does not need (gamma,
// colour spaces, text) are skipped unread.
bool ReadHeader(png_structp png, png_infop info) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_read_info(png, info);
    const int type = png_get_color_type(png, info);
    if (png_get_bit_depth(png, info) == 16) png_set_strip_16(png);
    if (type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if ((type & PNG_COLOR_MASK_COLOR) == 0) {
        png_set_expand_gray_1_2_4_to_8(png);
        png_set_gray_to_rgb(png);
    }
    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
    png_set_bgr(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return true;
}

bool ReadPixels(png_structp png, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_image(png, rows);
    return true;
}

}  // namespace

TDecodedImage DecodePng(std::span<const uint8_t> data, const TDecodeLimits& limits) {
    TPngRead read{data};
    struct TReader {
        png_structp Png = nullptr;
        png_infop Info = nullptr;
        ~TReader() { png_destroy_read_struct(&Png, Info ? &Info : nullptr, nullptr); }
    } reader;
    reader.Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &read, StopOnError, IgnoreWarning);
    if (reader.Png) reader.Info = png_create_info_struct(reader.Png);
    if (!reader.Info) throw std::bad_alloc();
    png_set_read_fn(reader.Png, &read, ReadFromMemory);
    const auto fail = [&] { return ETovaError(std::string("damaged PNG data: ") + read.Message); };
    if (!ReadHeader(reader.Png, reader.Info)) throw fail();
    const png_uint_32 pngWidth = png_get_image_width(reader.Png, reader.Info);
    const png_uint_32 pngHeight = png_get_image_height(reader.Png, reader.Info);
    CheckImageSize(pngWidth, pngHeight, limits);
    // The header has been read, so the signature and IHDR (width, height,
    // depth, colour type) are the file's first 26 bytes.
    if (MaxInflatedSize(PixelDataBytes(data)) <
        static_cast<int64_t>(LeastRowBytes(data, pngWidth, pngHeight)))
        throw ETovaError("damaged PNG data: the compressed pixel data is too short for a picture of " +
                         std::to_string(pngWidth) + " x " + std::to_string(pngHeight) + " pixels");
    const auto width = static_cast<int32_t>(pngWidth), height = static_cast<int32_t>(pngHeight);
    if (png_get_rowbytes(reader.Png, reader.Info) != size_t{pngWidth} * 4)
        throw ETovaError("damaged PNG data: the pixels cannot be read as 8-bit colour");
    TImageBudget ownBudget;
    TImageBudget& budget = limits.Budget ? *limits.Budget : ownBudget;
    TDecodedImage image;
    const int type = png_get_color_type(reader.Png, reader.Info);
    image.HasAlpha = (type & PNG_COLOR_MASK_ALPHA) != 0;
    // libpng's own rows (the current and the previous one, and one it
    // converts in, 8 bytes a pixel at most) and the pointers to ours.
    TBudgetHold decoderMemory(budget);
    decoderMemory.Take(3 * (int64_t{width} * 8 + 64) + int64_t{height} * int64_t{sizeof(png_bytep)});
    budget.Resize(image.Colour, width, height);
    if (image.HasAlpha) budget.Resize(image.Alpha, width, height);
    std::vector<png_bytep> rows(static_cast<size_t>(height));
    for (int32_t y = 0; y < height; ++y)
        rows[static_cast<size_t>(y)] = reinterpret_cast<png_bytep>(image.Colour.Row(y));
    if (!ReadPixels(reader.Png, rows.data())) throw fail();
    for (int32_t y = 0; image.HasAlpha && y < height; ++y) {
        TPixel32* row = image.Colour.Row(y);
        uint8_t* alpha = image.Alpha.Row(y);
        for (int32_t x = 0; x < width; ++x) {
            alpha[x] = static_cast<uint8_t>(row[x] >> 24);
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
