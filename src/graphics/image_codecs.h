// The compressed forms image data is stored in: zlib streams (through
// libdeflate, which inflates faster than zlib and stops exactly at the size
// the caller expects) and JPEG (through libjpeg-turbo), and PNG (libpng).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "graphics/surface.h"

namespace tova {

// Inflates a zlib stream that must give exactly `size` bytes (or fill `out` exactly).
std::vector<uint8_t> InflateExact(std::span<const uint8_t> packed, size_t size);
void InflateExactInto(std::span<const uint8_t> packed, std::span<uint8_t> out);
// Inflates a zlib stream of at most maxSize bytes (a longer one is refused).
std::vector<uint8_t> InflateAtMost(std::span<const uint8_t> packed, size_t maxSize);
std::vector<uint8_t> DeflateFast(std::span<const uint8_t> plain);

// A decoded picture with its alpha when the file had one.
struct TDecodedImage {
    TSurface32 Colour;  // top byte 0
    bool HasAlpha = false;
    TSurface8 Alpha;
};

// Decodes a JPEG into 32-bit colour; sizes are checked against the image limits.
TDecodedImage DecodeJpeg(std::span<const uint8_t> data, int64_t maxPixels = int64_t{1} << 28);
std::vector<uint8_t> EncodeJpeg(TConstView32 colour, int quality);

// Decodes a PNG; transparency (an alpha channel or a tRNS colour) becomes the alpha plane.
TDecodedImage DecodePng(std::span<const uint8_t> data, int64_t maxPixels = int64_t{1} << 28);
// Writes an RGBA PNG, or an RGB one without alpha.
std::vector<uint8_t> EncodePng(TConstView32 colour, const TConstView8* alpha);

// Throws ETovaError when a picture of that size is beyond the player's
// limits (16384 on each side, and at most maxPixels pixels).
void CheckImageSize(int64_t width, int64_t height, int64_t maxPixels = int64_t{1} << 28);

}  // namespace tova
