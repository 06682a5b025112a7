// Geometric drawing: nearest-pixel stretching and tiling from an offset
// with flips (rotation has a file of its own). Each builds source rows in
// target order and hands them to the same row step as Draw.
#include <algorithm>
#include <cstring>
#include <vector>

#include "graphics/blit_clip.h"
#include "graphics/draw_ops.h"
#include "graphics/draw_rows.h"
#include "graphics/pixel_kernels.h"

namespace tova {

namespace {

// For the target columns [first, last) of a stretch from span [from, from +
// sourceSize) onto [at, at + targetSize), the source index of each column;
// columns whose index falls outside [limitLow, limitHigh) are cut from
// either end (the mapping is monotonic). Returns the kept target range.
struct TStretchAxis {
    int32_t First = 0;
    int32_t Last = 0;
    std::vector<int32_t> Index;  // source index of target column First + i
};

bool StretchAxis(int32_t first, int32_t last, int64_t at, int64_t targetSize, int64_t from,
                 int64_t sourceSize, bool flipped, int32_t limitLow, int32_t limitHigh, TStretchAxis& axis) {
    axis.Index.clear();
    int32_t keepFirst = last, keepLast = first;
    for (int32_t t = first; t < last; ++t) {
        int64_t i = t - at;
        if (flipped) i = targetSize - 1 - i;
        int64_t s = from + i * sourceSize / targetSize;
        if (s < limitLow || s >= limitHigh) continue;
        if (keepFirst == last) keepFirst = t;
        keepLast = t + 1;
    }
    if (keepFirst >= keepLast) return false;
    axis.First = keepFirst;
    axis.Last = keepLast;
    for (int32_t t = keepFirst; t < keepLast; ++t) {
        int64_t i = t - at;
        if (flipped) i = targetSize - 1 - i;
        axis.Index.push_back(static_cast<int32_t>(from + i * sourceSize / targetSize));
    }
    return true;
}

// Where copies of a frame of size `size` start so that they cover [low,
// high) with the first copy starting at `offset` of the frame; flipped, they
// are laid from high downwards. Calls fn(start) for every copy that meets
// [visibleLow, visibleHigh).
template <typename Fn>
void ForEachTile(int64_t low, int64_t high, int64_t size, int64_t offset, bool flipped, int64_t visibleLow,
                 int64_t visibleHigh, Fn fn) {
    int64_t phase = ((offset % size) + size) % size;
    // Copy k covers [origin + k * size, origin + (k + 1) * size).
    int64_t origin = flipped ? high + phase - size : low - phase;
    int64_t lo = std::max(low, visibleLow), hi = std::min(high, visibleHigh);
    if (hi <= lo) return;
    auto floorDiv = [](int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };
    int64_t kFirst = floorDiv(lo - origin, size);
    int64_t kLast = floorDiv(hi - 1 - origin, size);
    for (int64_t k = kFirst; k <= kLast; ++k)
        fn(origin + k * size);
}

}  // namespace

void Stretch(TView32 target, const TRect& clip, const TRect& targetRect, TConstView32 source,
             const TRect& sourceRect, const TDrawOptions& options) {
    if (options.Level <= LevelNone || targetRect.IsEmpty() || sourceRect.IsEmpty()) return;
    auto window = ClipRect(target.Bounds(), clip, targetRect);
    if (!window) return;
    if (ViewsOverlap(target, source)) {
        // Read from a copy of the part of the source that can be read.
        TRect part = sourceRect.Intersect(source.Bounds());
        if (part.IsEmpty()) return;
        TSurface32 copy(part.Width(), part.Height());
        Copy(copy.View(), copy.Bounds(), 0, 0, source, part);
        std::optional<TConstView8> mask;
        TDrawOptions shifted = options;
        if (options.Mask) {
            mask = *options.Mask;
            mask->Pixels += static_cast<ptrdiff_t>(part.Top) * mask->Stride + part.Left;
            mask->Width -= part.Left;
            mask->Height -= part.Top;
            shifted.Mask = &*mask;
        }
        Stretch(target, clip, targetRect, copy.View(), sourceRect.Offset(-part.Left, -part.Top), shifted);
        return;
    }
    TRect limit = source.Bounds();
    if (options.Mask) limit = limit.Intersect(options.Mask->Bounds());
    TStretchAxis ax, ay;
    int64_t tw = static_cast<int64_t>(targetRect.Right) - targetRect.Left;
    int64_t th = static_cast<int64_t>(targetRect.Bottom) - targetRect.Top;
    int64_t sw = static_cast<int64_t>(sourceRect.Right) - sourceRect.Left;
    int64_t sh = static_cast<int64_t>(sourceRect.Bottom) - sourceRect.Top;
    if (!StretchAxis(window->Left, window->Right, targetRect.Left, tw, sourceRect.Left, sw,
                     HasFlip(options.Flip, TFlip::Horizontal), limit.Left, limit.Right, ax))
        return;
    if (!StretchAxis(window->Top, window->Bottom, targetRect.Top, th, sourceRect.Top, sh,
                     HasFlip(options.Flip, TFlip::Vertical), limit.Top, limit.Bottom, ay))
        return;
    size_t n = ax.Index.size();
    TScratch& scratch = TScratch::ForThread(n);
    std::vector<TPixel32> row(n);
    std::vector<uint8_t> maskRow(n);
    for (size_t i = 0; i < n; ++i)
        scratch.Index[i] = static_cast<uint32_t>(ax.Index[i]);
    bool keyed = !options.Mask && options.TransparentColor;
    int32_t lastSourceRow = -1;
    for (int32_t y = ay.First; y < ay.Last; ++y) {
        int32_t sy = ay.Index[static_cast<size_t>(y - ay.First)];
        if (sy != lastSourceRow) {
            kernels::Gather32(row.data(), source.Row(sy), scratch.Index.data(), n);
            if (options.Mask) {
                const uint8_t* m = options.Mask->Row(sy);
                for (size_t i = 0; i < n; ++i)
                    maskRow[i] = m[scratch.Index[i]];
            } else if (keyed) {
                kernels::KeyToMask(maskRow.data(), row.data(), n, *options.TransparentColor);
            }
            lastSourceRow = sy;
        }
        const uint8_t* mask = options.Mask || keyed ? maskRow.data() : nullptr;
        DrawRow(target.Row(y) + ax.First, row.data(), mask, keyed, n, options, scratch);
    }
}

void Stretch(TView8 target, const TRect& clip, const TRect& targetRect, TConstView8 source,
             const TRect& sourceRect) {
    if (targetRect.IsEmpty() || sourceRect.IsEmpty()) return;
    auto window = ClipRect(target.Bounds(), clip, targetRect);
    if (!window) return;
    if (ViewsOverlap(target, source)) {
        TRect part = sourceRect.Intersect(source.Bounds());
        if (part.IsEmpty()) return;
        TSurface8 copy(part.Width(), part.Height());
        Copy(copy.View(), copy.Bounds(), 0, 0, source, part);
        Stretch(target, clip, targetRect, copy.View(), sourceRect.Offset(-part.Left, -part.Top));
        return;
    }
    TStretchAxis ax, ay;
    if (!StretchAxis(window->Left, window->Right, targetRect.Left,
                     static_cast<int64_t>(targetRect.Right) - targetRect.Left, sourceRect.Left,
                     static_cast<int64_t>(sourceRect.Right) - sourceRect.Left, false, 0, source.Width, ax))
        return;
    if (!StretchAxis(window->Top, window->Bottom, targetRect.Top,
                     static_cast<int64_t>(targetRect.Bottom) - targetRect.Top, sourceRect.Top,
                     static_cast<int64_t>(sourceRect.Bottom) - sourceRect.Top, false, 0, source.Height, ay))
        return;
    for (int32_t y = ay.First; y < ay.Last; ++y) {
        const uint8_t* src = source.Row(ay.Index[static_cast<size_t>(y - ay.First)]);
        uint8_t* dst = target.Row(y) + ax.First;
        for (size_t i = 0; i < ax.Index.size(); ++i)
            dst[i] = src[ax.Index[i]];
    }
}

void DrawTiled(TView32 target, const TRect& clip, const TRect& rect, TConstView32 source, int32_t u,
               int32_t v, const TDrawOptions& options) {
    if (source.IsEmpty() || options.Level <= LevelNone) return;
    auto window = ClipRect(target.Bounds(), clip, rect);
    if (!window) return;
    bool flipX = HasFlip(options.Flip, TFlip::Horizontal), flipY = HasFlip(options.Flip, TFlip::Vertical);
    if (window->Width() < 4 * source.Width) {
        ForEachTile(rect.Top, rect.Bottom, source.Height, v, flipY, window->Top, window->Bottom,
                    [&](int64_t y) {
                        ForEachTile(rect.Left, rect.Right, source.Width, u, flipX, window->Left,
                                    window->Right, [&](int64_t x) {
                                        Draw(target, *window, ClampCoordinate(x), ClampCoordinate(y), source,
                                             source.Bounds(), options);
                                    });
                    });
        return;
    }
    // Narrow frames: lay one strip of copies across the window once (with
    // its mask: 0 where the frame's mask does not reach), then draw the strip
    // once per row of copies.
    TSurface32 strip(window->Width(), source.Height);
    TSurface8 stripMask;
    if (options.Mask) stripMask.Resize(window->Width(), source.Height);
    TFlip across = flipX ? TFlip::Horizontal : TFlip::None;
    ForEachTile(rect.Left, rect.Right, source.Width, u, flipX, window->Left, window->Right, [&](int64_t x) {
        int32_t at = ClampCoordinate(x - window->Left);
        Copy(strip.View(), strip.Bounds(), at, 0, source, source.Bounds(), across);
        if (options.Mask) {
            TRect part = source.Bounds().Intersect(options.Mask->Bounds());
            int32_t shift = flipX ? source.Width - part.Right : part.Left;
            Copy(stripMask.View(), stripMask.Bounds(), at + shift, part.Top, *options.Mask, part, across);
        }
    });
    TConstView8 stripMaskView = stripMask.View();
    TDrawOptions rowOptions = options;
    rowOptions.Flip = flipY ? TFlip::Vertical : TFlip::None;
    if (options.Mask) rowOptions.Mask = &stripMaskView;
    ForEachTile(rect.Top, rect.Bottom, source.Height, v, flipY, window->Top, window->Bottom, [&](int64_t y) {
        Draw(target, *window, window->Left, ClampCoordinate(y), strip.View(), strip.Bounds(), rowOptions);
    });
}

void DrawTiled(TView8 target, const TRect& clip, const TRect& rect, TConstView8 source, int32_t u,
               int32_t v) {
    if (source.IsEmpty()) return;
    auto window = ClipRect(target.Bounds(), clip, rect);
    if (!window) return;
    ForEachTile(rect.Top, rect.Bottom, source.Height, v, false, window->Top, window->Bottom, [&](int64_t y) {
        ForEachTile(
            rect.Left, rect.Right, source.Width, u, false, window->Left, window->Right, [&](int64_t x) {
                Copy(target, *window, ClampCoordinate(x), ClampCoordinate(y), source, source.Bounds());
            });
    });
}

}  // namespace tova
