// PNG files for tests, written with libpng's plain writer in any colour
// type and depth, interlaced or not, with the chunks a test asks for (a
// palette, tRNS, gAMA); the rows are given as the file stores them.
#pragma once

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

namespace tova::testing {

struct TPngSpec {
    uint32_t Width = 0;
    uint32_t Height = 0;
    int BitDepth = 8;
    int ColourType = PNG_COLOR_TYPE_RGB;
    bool Interlaced = false;
    std::vector<png_color> Palette{};
    std::vector<uint8_t> PaletteAlpha{};        // tRNS of a palette image
    std::optional<png_color_16> Transparent{};  // tRNS of a grey or RGB image
    std::optional<double> Gamma{};              // gAMA: the file's gamma (1.0: linear samples)
};

// rows: each row's bytes as stored (samples of 16 bits big-endian, samples
// under 8 bits packed from the high bits).
inline std::vector<uint8_t> PngBytes(const TPngSpec& spec, std::vector<std::vector<uint8_t>> rows) {
    const auto fail = [](png_structp, png_const_charp message) {
        std::fprintf(stderr, "test PNG writer: %s\n", message);
        std::abort();
    };
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, fail, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<uint8_t> bytes;
    png_set_write_fn(
        png, &bytes,
        [](png_structp p, png_bytep data, size_t size) {
            auto& out = *static_cast<std::vector<uint8_t>*>(png_get_io_ptr(p));
            out.insert(out.end(), data, data + size);
        },
        nullptr);
    png_set_IHDR(png, info, spec.Width, spec.Height, spec.BitDepth, spec.ColourType,
                 spec.Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!spec.Palette.empty())
        png_set_PLTE(png, info, spec.Palette.data(), static_cast<int>(spec.Palette.size()));
    if (!spec.PaletteAlpha.empty())
        png_set_tRNS(png, info, spec.PaletteAlpha.data(), static_cast<int>(spec.PaletteAlpha.size()),
                     nullptr);
    if (spec.Transparent) png_set_tRNS(png, info, nullptr, 0, &*spec.Transparent);
    if (spec.Gamma) png_set_gAMA(png, info, *spec.Gamma);
    std::vector<png_bytep> pointers;
    for (std::vector<uint8_t>& row : rows)
        pointers.push_back(row.data());
    png_set_rows(png, info, pointers.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return bytes;
}

}  // namespace tova::testing
