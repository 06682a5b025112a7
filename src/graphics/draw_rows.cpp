// Scratch rows, the overlap guard and the one row step of Draw and Stretch.
#include "graphics/draw_rows.h"

#include <algorithm>
#include <cstring>

#include "graphics/pixel_kernels.h"

namespace tova {

TScratch& TScratch::ForThread(size_t width) {
    thread_local TScratch scratch;
    if (scratch.Pixels.size() < width) {
        scratch.Pixels.resize(width);
        scratch.Brightened.resize(width);
        scratch.Mask.resize(width);
        scratch.Index.resize(width);
    }
    return scratch;
}

template <typename Pixel>
TBlitSource<Pixel>::TBlitSource(TSurfaceView<Pixel> target, TSurfaceView<const Pixel> source,
                                const TBlitClip& clip)
    : view_(source), x_(clip.SourceX), y_(clip.SourceY), stepY_(clip.StepY) {
    if (!ViewsOverlap(target, source)) return;
    int32_t width = clip.Target.Width(), height = clip.Target.Height();
    int32_t left = clip.StepX > 0 ? clip.SourceX : clip.SourceX - (width - 1);
    int32_t top = clip.StepY > 0 ? clip.SourceY : clip.SourceY - (height - 1);
    copy_.Resize(width, height);
    for (int32_t j = 0; j < height; ++j)
        std::memcpy(copy_.Row(j), source.Row(top + j) + left, static_cast<size_t>(width) * sizeof(Pixel));
    view_ = copy_.View();
    x_ -= left;
    y_ -= top;
}

template class TBlitSource<TPixel32>;
template class TBlitSource<uint8_t>;

void DrawRow(TPixel32* dst, const TPixel32* src, const uint8_t* mask, bool maskIsBinary, size_t n,
             const TDrawOptions& options, TScratch& scratch) {
    int32_t level = options.Level;
    if (level <= LevelNone) return;
    if (options.Shade != 0) {
        const int32_t shade = std::clamp(options.Shade, -255, 255);
        const TPixel32 step = static_cast<uint32_t>(shade > 0 ? shade : -shade) * 0x010101u;
        if (shade > 0)
            kernels::AddColor(scratch.Brightened.data(), src, n, step);
        else
            kernels::SubColor(scratch.Brightened.data(), src, n, step);
        src = scratch.Brightened.data();
    }
    if (level > LevelBrighten) {
        uint32_t add = static_cast<uint32_t>(std::min(level - LevelBrighten, 255));
        kernels::AddColor(scratch.Brightened.data(), src, n, add * 0x010101u);
        src = scratch.Brightened.data();
        level = LevelCopy;
    }
    if (level >= LevelCopy) {
        if (!mask)
            std::memcpy(dst, src, n * sizeof(TPixel32));
        else if (maskIsBinary)
            kernels::SelectMask(dst, dst, src, mask, n);
        else
            kernels::MixMask(dst, dst, src, mask, n, LevelCopy);
    } else if (mask) {
        kernels::MixMask(dst, dst, src, mask, n, static_cast<uint32_t>(level));
    } else {
        kernels::MixLevel(dst, dst, src, n, static_cast<uint32_t>(level));
    }
}

}  // namespace tova
