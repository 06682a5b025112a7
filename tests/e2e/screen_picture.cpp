#include "screen_picture.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "graphics/image_codecs.h"

namespace tova::testing {
namespace {

uint32_t Mix(uint32_t under, uint32_t over, uint32_t level) {
    if (level >= 255) return over;
    uint32_t result = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t o = (under >> shift) & 0xFF;
        const uint32_t n = (over >> shift) & 0xFF;
        result |= ((level * n + (255 - level) * o) / 256) << shift;
    }
    return result;
}

}  // namespace

void TPicture::Fill(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t colour) {
    Blend(left, top, right, bottom, colour, 255);
}

void TPicture::Blend(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t colour,
                     uint32_t level) {
    for (int32_t y = std::max(top, 0); y < std::min(bottom, Height); ++y)
        for (int32_t x = std::max(left, 0); x < std::min(right, Width); ++x)
            At(x, y) = Mix(At(x, y), colour, level);
}

void TPicture::Draw(const TPicture& image, int32_t x, int32_t y, uint32_t level) {
    for (int32_t v = 0; v < image.Height; ++v)
        for (int32_t u = 0; u < image.Width; ++u)
            if (x + u >= 0 && x + u < Width && y + v >= 0 && y + v < Height)
                At(x + u, y + v) = Mix(At(x + u, y + v), image.At(u, v), level);
}

TPicture ReadPicture(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    TPicture picture;
    if (bytes.empty()) return picture;
    const TDecodedImage image = DecodePng(bytes);
    picture = TPicture(image.Colour.Width(), image.Colour.Height(), 0);
    for (int32_t y = 0; y < picture.Height; ++y)
        for (int32_t x = 0; x < picture.Width; ++x)
            picture.At(x, y) = image.Colour.Row(y)[x] & 0xFFFFFF;
    return picture;
}

std::string PngBytes(const TPicture& picture) {
    TSurface32 surface(picture.Width, picture.Height);
    for (int32_t y = 0; y < picture.Height; ++y)
        std::copy_n(&picture.Pixels[static_cast<size_t>(y) * picture.Width], picture.Width, surface.Row(y));
    const std::vector<uint8_t> png = EncodePng(surface.View(), nullptr);
    return std::string(png.begin(), png.end());
}

std::string ComparePictures(const TPicture& actual, const TPicture& expected) {
    if (actual.Width != expected.Width || actual.Height != expected.Height)
        return "size " + std::to_string(actual.Width) + "x" + std::to_string(actual.Height) + ", expected " +
               std::to_string(expected.Width) + "x" + std::to_string(expected.Height);
    std::string first;
    size_t differing = 0;
    for (int32_t y = 0; y < actual.Height; ++y)
        for (int32_t x = 0; x < actual.Width; ++x)
            if (actual.At(x, y) != expected.At(x, y) && differing++ == 0) {
                char text[96];
                std::snprintf(text, sizeof text, "(%d, %d) is %06X, expected %06X", x, y, actual.At(x, y),
                              expected.At(x, y));
                first = text;
            }
    return differing ? first + "; " + std::to_string(differing) + " pixels differ" : std::string();
}

}  // namespace tova::testing
