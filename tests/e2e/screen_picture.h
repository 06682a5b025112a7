// Pictures for the screen tests: a screenshot read back from its PNG, and the
// picture a test expects, painted by the test itself with plain loops (fill,
// blend at a level, copy of a small image), compared pixel by pixel.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tova::testing {

// Pixels 0x00RRGGBB, row by row.
struct TPicture {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint32_t> Pixels;

    TPicture() = default;
    TPicture(int32_t width, int32_t height, uint32_t colour)
        : Width(width),
          Height(height),
          Pixels(static_cast<size_t>(width) * static_cast<size_t>(height), colour) {}
    uint32_t& At(int32_t x, int32_t y) { return Pixels[static_cast<size_t>(y) * Width + x]; }
    uint32_t At(int32_t x, int32_t y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }

    // Fills the rectangle (exclusive right and bottom, clipped to the picture).
    void Fill(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t colour);
    // Blends colour over the rectangle at level 0..255.
    void Blend(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t colour, uint32_t level);
    // Draws image at (x, y), blended at level (255 copies).
    void Draw(const TPicture& image, int32_t x, int32_t y, uint32_t level = 255);
};

// The PNG file read back (RGB or RGBA, alpha ignored); an empty picture when
// it cannot be read.
TPicture ReadPicture(const std::string& path);
// An RGB PNG of the picture, as a game's image file.
std::string PngBytes(const TPicture& picture);

// "" when equal, else where and how they first differ and how many pixels do.
std::string ComparePictures(const TPicture& actual, const TPicture& expected);

}  // namespace tova::testing
