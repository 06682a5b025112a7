// Drawing surfaces: a 32-bit colour surface in the Windows device-independent
// bitmap byte order (B, G, R, X in memory, so 0x00RRGGBB as a little-endian
// 32-bit word; the top byte is 0 as the image cache writes it) and an 8-bit
// surface for masks, coverage and palette grids. Rows start on 64-byte
// boundaries so that SIMD kernels may read whole vectors from a row's start.
// A surface owns its pixels; a TSurfaceView is a non-owning window on one
// (a sub-rectangle, or memory that belongs to someone else such as a texture).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <type_traits>

namespace tova {

// A rectangle with exclusive right and bottom edges, as Windows has them.
struct TRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;

    static TRect FromSize(int32_t left, int32_t top, int32_t width, int32_t height) {
        return {left, top, left + width, top + height};
    }
    int32_t Width() const { return Right - Left; }
    int32_t Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool Contains(int32_t x, int32_t y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
    TRect Offset(int32_t dx, int32_t dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
    // The common part; empty rectangles come out with zero width or height.
    TRect Intersect(const TRect& other) const {
        TRect r{std::max(Left, other.Left), std::max(Top, other.Top), std::min(Right, other.Right),
                std::min(Bottom, other.Bottom)};
        if (r.IsEmpty()) return {r.Left, r.Top, r.Left, r.Top};
        return r;
    }
    // The smallest rectangle holding both; an empty side does not count.
    TRect Union(const TRect& other) const {
        if (IsEmpty()) return other;
        if (other.IsEmpty()) return *this;
        return {std::min(Left, other.Left), std::min(Top, other.Top), std::max(Right, other.Right),
                std::max(Bottom, other.Bottom)};
    }
    bool operator==(const TRect&) const = default;
};

// A colour as the surfaces store it: 0x00RRGGBB (bytes B, G, R, 0 in memory).
using TPixel32 = uint32_t;

// Script and Windows colours are 0x00BBGGRR; this is the one conversion.
constexpr TPixel32 PixelFromColorRef(uint32_t colorRef) {
    return ((colorRef & 0xFFu) << 16) | (colorRef & 0xFF00u) | ((colorRef >> 16) & 0xFFu);
}
constexpr uint32_t ColorRefFromPixel(TPixel32 pixel) {
    return ((pixel & 0xFFu) << 16) | (pixel & 0xFF00u) | ((pixel >> 16) & 0xFFu);
}

// A non-owning view: Stride is in pixels, not bytes.
template <typename Pixel>
struct TSurfaceView {
    Pixel* Pixels = nullptr;
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t Stride = 0;

    Pixel* Row(int32_t y) const { return Pixels + static_cast<ptrdiff_t>(y) * Stride; }
    TRect Bounds() const { return {0, 0, Width, Height}; }
    bool IsEmpty() const { return Width <= 0 || Height <= 0; }
    // A writable view reads as a read-only one.
    operator TSurfaceView<const Pixel>() const requires(!std::is_const_v<Pixel>) {
        return {Pixels, Width, Height, Stride};
    }
    // The part of this view inside rect (clipped to the view).
    TSurfaceView Sub(const TRect& rect) const {
        TRect r = rect.Intersect(Bounds());
        return {Row(r.Top) + r.Left, r.Width(), r.Height(), Stride};
    }
};

// An owning surface whose rows are 64-byte aligned and padded to whole
// 64-byte lines. Width and height may be 0 (an empty surface owns nothing).
template <typename Pixel>
class TSurface {
public:
    static constexpr int32_t RowAlignment = 64;
    // The largest surface the player makes: larger images are refused when
    // they are loaded, so this only guards against arithmetic overflow.
    static constexpr int32_t MaxSide = 16384;

    TSurface() = default;
    TSurface(int32_t width, int32_t height) { Resize(width, height); }
    TSurface(TSurface&&) noexcept = default;
    TSurface& operator=(TSurface&&) noexcept = default;
    TSurface(const TSurface& other) { *this = other; }
    TSurface& operator=(const TSurface& other) {
        if (this == &other) return *this;
        Resize(other.width_, other.height_);
        if (pixels_) std::copy_n(other.pixels_.get(), static_cast<size_t>(stride_) * height_, pixels_.get());
        return *this;
    }

    // Discards the content; the new pixels are zero. Throws std::length_error
    // for a negative or oversized request.
    void Resize(int32_t width, int32_t height);
    // The bytes a surface of that size holds (0 for a size Resize refuses).
    static int64_t BytesFor(int32_t width, int32_t height);
    int64_t Bytes() const { return int64_t{stride_} * height_ * static_cast<int64_t>(sizeof(Pixel)); }

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    int32_t Stride() const { return stride_; }
    TRect Bounds() const { return {0, 0, width_, height_}; }
    bool IsEmpty() const { return width_ <= 0 || height_ <= 0; }
    Pixel* Row(int32_t y) { return pixels_.get() + static_cast<ptrdiff_t>(y) * stride_; }
    const Pixel* Row(int32_t y) const { return pixels_.get() + static_cast<ptrdiff_t>(y) * stride_; }
    Pixel* Data() { return pixels_.get(); }
    const Pixel* Data() const { return pixels_.get(); }

    TSurfaceView<Pixel> View() { return {pixels_.get(), width_, height_, stride_}; }
    TSurfaceView<const Pixel> View() const { return {pixels_.get(), width_, height_, stride_}; }

private:
    static int32_t StrideFor(int32_t width);

    struct AlignedDelete {
        void operator()(Pixel* p) const { ::operator delete[](p, std::align_val_t(RowAlignment)); }
    };
    std::unique_ptr<Pixel[], AlignedDelete> pixels_;
    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t stride_ = 0;
};

using TSurface32 = TSurface<TPixel32>;
using TSurface8 = TSurface<uint8_t>;
using TView32 = TSurfaceView<TPixel32>;
using TConstView32 = TSurfaceView<const TPixel32>;
using TView8 = TSurfaceView<uint8_t>;
using TConstView8 = TSurfaceView<const uint8_t>;

}  // namespace tova
