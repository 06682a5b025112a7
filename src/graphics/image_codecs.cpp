// zlib through libdeflate, and the size limits of decoded pictures (JPEG
// and PNG have files of their own).
#include <algorithm>
#include <memory>
#include <string>

#include <libdeflate.h>

#include "core/error.h"
#include "graphics/image_codecs.h"

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

void CheckImageSize(int64_t width, int64_t height, const TDecodeLimits& limits) {
    if (width < 0 || height < 0 || width > limits.MaxSide || height > limits.MaxSide ||
        width * height > limits.MaxPixels)
        throw ETovaError("damaged image: a picture of " + std::to_string(width) + " x " +
                         std::to_string(height) + " pixels is beyond the limits");
}

int64_t MaxInflatedSize(size_t packedSize) {
    constexpr int64_t kDeflateMaxRatio = 1032;
    return static_cast<int64_t>(std::min<size_t>(packedSize, size_t{1} << 40)) * kDeflateMaxRatio;
}

namespace {

[[noreturn]] void TooShortFor(size_t size) {
    throw ETovaError("damaged image: the compressed data is too short to give the " + std::to_string(size) +
                     " bytes the image needs");
}

}  // namespace

std::vector<uint8_t> InflateExact(std::span<const uint8_t> packed, size_t size, TBudgetHold& hold) {
    if (static_cast<int64_t>(size) > MaxInflatedSize(packed.size())) TooShortFor(size);
    hold.Take(static_cast<int64_t>(size));
    std::vector<uint8_t> out(size);
    InflateExactInto(packed, out);
    return out;
}

void InflateExactInto(std::span<const uint8_t> packed, std::span<uint8_t> out) {
    const size_t size = out.size();
    if (static_cast<int64_t>(size) > MaxInflatedSize(packed.size())) TooShortFor(size);
    const libdeflate_result r =
        libdeflate_zlib_decompress(&Decompressor(), packed.data(), packed.size(), out.data(), size, nullptr);
    if (r == LIBDEFLATE_SHORT_OUTPUT || r == LIBDEFLATE_INSUFFICIENT_SPACE)
        throw ETovaError("damaged image: the compressed data does not have the size of " +
                         std::to_string(size) + " bytes the image needs");
    if (r != LIBDEFLATE_SUCCESS) throw ETovaError("damaged image: the compressed data cannot be inflated");
}

std::vector<uint8_t> InflateAtMost(std::span<const uint8_t> packed, size_t maxSize, TBudgetHold& hold) {
    // Room for what the stream can give, however much more the caller allows.
    const size_t room = std::min(maxSize, static_cast<size_t>(MaxInflatedSize(packed.size())));
    hold.Take(static_cast<int64_t>(room));
    std::vector<uint8_t> out(room);
    size_t actual = 0;
    const libdeflate_result r =
        libdeflate_zlib_decompress(&Decompressor(), packed.data(), packed.size(), out.data(), room, &actual);
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

}  // namespace tova
