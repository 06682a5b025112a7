// zlib through libdeflate, JPEG through libjpeg-turbo and PNG through
// libpng's simplified interface. Every decoder checks the picture's size
// against the player's limits before it allocates anything.
#include "graphics/image_codecs.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include <jpeglib.h>
#include <libdeflate.h>
#include <png.h>

#include "core/error.h"
#include "graphics/brio_image.h"

namespace tova {
namespace {

libdeflate_decompressor& Decompressor() {
    struct Free {
        void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
    };
    thread_local std::unique_ptr<libdeflate_decompressor, Free> d(libdeflate_alloc_decompressor());
    if (!d) throw std::bad_alloc();
    return *d;
}

}  // namespace

void CheckImageSize(int64_t width, int64_t height, int64_t maxPixels) {
    if (width < 0 || height < 0 || width > brio::kMaxSide || height > brio::kMaxSide ||
        width * height > maxPixels)
        throw ETovaError("damaged image: a picture of " + std::to_string(width) + " x " +
                         std::to_string(height) + " pixels is beyond the limits");
}

std::vector<uint8_t> InflateExact(std::span<const uint8_t> packed, size_t size) {
    std::vector<uint8_t> out(size);
    InflateExactInto(packed, out);
    return out;
}

void InflateExactInto(std::span<const uint8_t> packed, std::span<uint8_t> out) {
    const size_t size = out.size();
    const libdeflate_result r =
        libdeflate_zlib_decompress(&Decompressor(), packed.data(), packed.size(), out.data(), size, nullptr);
    if (r == LIBDEFLATE_SHORT_OUTPUT || r == LIBDEFLATE_INSUFFICIENT_SPACE)
        throw ETovaError("damaged image: the compressed data does not have the size of " +
                         std::to_string(size) + " bytes the image needs");
    if (r != LIBDEFLATE_SUCCESS) throw ETovaError("damaged image: the compressed data cannot be inflated");
}

std::vector<uint8_t> InflateAtMost(std::span<const uint8_t> packed, size_t maxSize) {
    std::vector<uint8_t> out(maxSize);
    size_t actual = 0;
    const libdeflate_result r = libdeflate_zlib_decompress(&Decompressor(), packed.data(), packed.size(),
                                                           out.data(), maxSize, &actual);
    if (r == LIBDEFLATE_INSUFFICIENT_SPACE)
        throw ETovaError("damaged image: the compressed data is larger than " + std::to_string(maxSize) +
                         " bytes the image can hold");
    if (r != LIBDEFLATE_SUCCESS) throw ETovaError("damaged image: the compressed data cannot be inflated");
    out.resize(actual);
    return out;
}

std::vector<uint8_t> DeflateFast(std::span<const uint8_t> plain) {
    struct Free {
        void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
    };
    std::unique_ptr<libdeflate_compressor, Free> c(libdeflate_alloc_compressor(1));
    if (!c) throw std::bad_alloc();
    std::vector<uint8_t> out(libdeflate_zlib_compress_bound(c.get(), plain.size()));
    const size_t n = libdeflate_zlib_compress(c.get(), plain.data(), plain.size(), out.data(), out.size());
    if (n == 0) throw ETovaError("deflate failed");
    out.resize(n);
    return out;
}

// --- JPEG ------------------------------------------------------------------

namespace {

struct TJpegError {
    jpeg_error_mgr Manager;
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr info) {
    auto* error = reinterpret_cast<TJpegError*>(info->err);
    (*info->err->format_message)(info, error->Message);
    std::longjmp(error->Jump, 1);
}

void JpegSilence(j_common_ptr) {}

}  // namespace

TDecodedImage DecodeJpeg(std::span<const uint8_t> data, int64_t maxPixels) {
    TDecodedImage image;
    jpeg_decompress_struct info{};
    TJpegError error{};
    info.err = jpeg_std_error(&error.Manager);
    error.Manager.error_exit = JpegErrorExit;
    error.Manager.output_message = JpegSilence;
    jpeg_create_decompress(&info);
    struct TGuard {
        jpeg_decompress_struct* Info;
        ~TGuard() { jpeg_destroy_decompress(Info); }
    } guard{&info};
    if (setjmp(error.Jump)) throw ETovaError(std::string("damaged JPEG data: ") + error.Message);
    jpeg_mem_src(&info, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    CheckImageSize(info.image_width, info.image_height, maxPixels);
    info.out_color_space = JCS_EXT_BGRX;
    jpeg_start_decompress(&info);
    image.Colour.Resize(static_cast<int32_t>(info.output_width), static_cast<int32_t>(info.output_height));
    while (info.output_scanline < info.output_height) {
        JSAMPROW row =
            reinterpret_cast<JSAMPROW>(image.Colour.Row(static_cast<int32_t>(info.output_scanline)));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    for (int32_t y = 0; y < image.Colour.Height(); ++y) {
        TPixel32* row = image.Colour.Row(y);
        for (int32_t x = 0; x < image.Colour.Width(); ++x)
            row[x] &= 0x00FFFFFFu;
    }
    return image;
}

std::vector<uint8_t> EncodeJpeg(TConstView32 colour, int quality) {
    jpeg_compress_struct info{};
    TJpegError error{};
    info.err = jpeg_std_error(&error.Manager);
    error.Manager.error_exit = JpegErrorExit;
    error.Manager.output_message = JpegSilence;
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    struct TGuard {
        jpeg_compress_struct* Info;
        unsigned char** Buffer;
        ~TGuard() {
            jpeg_destroy_compress(Info);
            std::free(*Buffer);
        }
    } guard{&info, &buffer};
    if (setjmp(error.Jump)) throw ETovaError(std::string("JPEG encoding failed: ") + error.Message);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(colour.Width);
    info.image_height = static_cast<JDIMENSION>(colour.Height);
    info.input_components = 4;
    info.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        auto row = reinterpret_cast<JSAMPROW>(
            const_cast<TPixel32*>(colour.Row(static_cast<int32_t>(info.next_scanline))));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    return std::vector<uint8_t>(buffer, buffer + size);
}

// --- PNG -------------------------------------------------------------------

TDecodedImage DecodePng(std::span<const uint8_t> data, int64_t maxPixels) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, data.data(), data.size()))
        throw ETovaError(std::string("damaged PNG data: ") + png.message);
    struct TGuard {
        png_image* Png;
        ~TGuard() { png_image_free(Png); }
    } guard{&png};
    CheckImageSize(png.width, png.height, maxPixels);
    TDecodedImage image;
    // The file's own format tells whether it has transparency; a tRNS chunk
    // counts as alpha in the simplified interface.
    image.HasAlpha = (png.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    png.format = PNG_FORMAT_BGRA;
    image.Colour.Resize(static_cast<int32_t>(png.width), static_cast<int32_t>(png.height));
    if (!png_image_finish_read(&png, nullptr, image.Colour.Data(), image.Colour.Stride() * 4, nullptr))
        throw ETovaError(std::string("damaged PNG data: ") + png.message);
    if (image.HasAlpha) image.Alpha.Resize(image.Colour.Width(), image.Colour.Height());
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
