// Allocation of the owning surfaces: 64-byte aligned rows, zero-filled.
#include "graphics/surface.h"

#include <cstring>
#include <new>
#include <stdexcept>

namespace tova {

template <typename Pixel>
int32_t TSurface<Pixel>::StrideFor(int32_t width) {
    constexpr int32_t perLine = RowAlignment / static_cast<int32_t>(sizeof(Pixel));
    return (width + perLine - 1) / perLine * perLine;
}

template <typename Pixel>
int64_t TSurface<Pixel>::BytesFor(int32_t width, int32_t height) {
    if (width < 0 || height < 0 || width > MaxSide || height > MaxSide) return 0;
    return int64_t{StrideFor(width)} * height * static_cast<int64_t>(sizeof(Pixel));
}

template <typename Pixel>
void TSurface<Pixel>::Resize(int32_t width, int32_t height) {
    if (width < 0 || height < 0 || width > MaxSide || height > MaxSide)
        throw std::length_error("surface size out of range");
    const int32_t stride = StrideFor(width);
    size_t count = static_cast<size_t>(stride) * static_cast<size_t>(height);
    pixels_.reset();
    if (count > 0) {
        pixels_.reset(
            static_cast<Pixel*>(::operator new[](count * sizeof(Pixel), std::align_val_t(RowAlignment))));
        std::memset(pixels_.get(), 0, count * sizeof(Pixel));
    }
    width_ = width;
    height_ = height;
    stride_ = stride;
}

template class TSurface<TPixel32>;
template class TSurface<uint8_t>;

}  // namespace tova
