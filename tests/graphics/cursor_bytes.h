// Cursor files for tests, built byte by byte: little-endian fields and the
// ".cur" wrapper around one image.
#pragma once

#include <cstdint>
#include <vector>

namespace tova::testing {

inline void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

inline void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// A ".cur" file of one image (a bitmap with its mask, or a PNG) of side x
// side pixels, with its hot spot.
inline std::vector<uint8_t> CursorFile(const std::vector<uint8_t>& image, int side, int hotX, int hotY) {
    std::vector<uint8_t> file;
    Put16(file, 0);
    Put16(file, 2);
    Put16(file, 1);
    file.insert(file.end(), {static_cast<uint8_t>(side), static_cast<uint8_t>(side), 0, 0});
    Put16(file, static_cast<uint32_t>(hotX));
    Put16(file, static_cast<uint32_t>(hotY));
    Put32(file, static_cast<uint32_t>(image.size()));
    Put32(file, 22);
    file.insert(file.end(), image.begin(), image.end());
    return file;
}

}  // namespace tova::testing
