// The compressed forms image data is stored in: zlib streams (through
// libdeflate, which inflates faster than zlib and stops exactly at the size
// the caller expects) and JPEG (through libjpeg-turbo), and PNG (libpng).
// Decoders check a picture's size against the limits, and take what they
// allocate (their own memory included) from the load budget, before they
// allocate it.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "graphics/brio_image.h"
#include "graphics/image_budget.h"
#include "graphics/surface.h"

namespace tova {

// What a decoder may make of its data.
struct TDecodeLimits {
    int64_t MaxPixels = brio::kMaxTotalPixels;
    int32_t MaxSide = brio::kMaxSide;  // each side
    TImageBudget* Budget = nullptr;    // null: a budget of the default size of its own
};

// The most bytes a zlib stream of packedSize bytes can inflate to: deflate
// gives at most 1032 bytes for each byte it reads.
int64_t MaxInflatedSize(size_t packedSize);
// Inflates a zlib stream that must give exactly `size` bytes (or fill `out`
// exactly). A stream too short to give them is refused before anything is
// allocated; the buffer's bytes are taken into hold.
std::vector<uint8_t> InflateExact(std::span<const uint8_t> packed, size_t size, TBudgetHold& hold);
void InflateExactInto(std::span<const uint8_t> packed, std::span<uint8_t> out);
// Inflates a zlib stream of at most maxSize bytes (a longer one is refused).
// The buffer is no larger than what the stream can give; its bytes are taken into hold.
std::vector<uint8_t> InflateAtMost(std::span<const uint8_t> packed, size_t maxSize, TBudgetHold& hold);
std::vector<uint8_t> DeflateFast(std::span<const uint8_t> plain);

// A decoded picture with its alpha when the file had one.
struct TDecodedImage {
    TSurface32 Colour;  // top byte 0
    bool HasAlpha = false;
    TSurface8 Alpha;
};

// The most scans a JPEG may have: each scan is a pass over every block of
// the picture, so thousands of (even empty) scans would take minutes.
constexpr int kMaxJpegScans = 100;

// Decodes a JPEG into 32-bit colour. A JPEG of several scans keeps every
// coefficient of the picture while it decodes; that memory is taken from
// the budget too.
TDecodedImage DecodeJpeg(std::span<const uint8_t> data, const TDecodeLimits& limits = {});
std::vector<uint8_t> EncodeJpeg(TConstView32 colour, int quality);

// Decodes a PNG; transparency (an alpha channel or a tRNS colour) becomes
// the alpha plane. A file whose compressed pixel data cannot give its
// picture is refused before the picture is allocated.
TDecodedImage DecodePng(std::span<const uint8_t> data, const TDecodeLimits& limits = {});
// Writes an RGBA PNG, or an RGB one without alpha.
std::vector<uint8_t> EncodePng(TConstView32 colour, const TConstView8* alpha);

// Throws ETovaError when a picture of that size is beyond the limits.
void CheckImageSize(int64_t width, int64_t height, const TDecodeLimits& limits = {});

}  // namespace tova
