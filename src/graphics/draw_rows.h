// Shared pieces of the drawing operations' implementation: per-thread scratch
// rows, the guard against a source that overlaps its target, and the row
// step that draws one prepared source row as TDrawOptions say.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/blit_clip.h"
#include "graphics/draw_ops.h"

namespace tova {

// Scratch rows reused between calls on one thread.
struct TScratch {
    std::vector<TPixel32> Pixels;
    std::vector<TPixel32> Brightened;
    std::vector<uint8_t> Mask;
    std::vector<uint32_t> Index;
    static TScratch& ForThread(size_t width);
};

// True when the memory of the two views overlaps.
template <typename A, typename B>
bool ViewsOverlap(const TSurfaceView<A>& a, const TSurfaceView<B>& b) {
    if (a.IsEmpty() || b.IsEmpty()) return false;
    auto begin = [](const auto& v) { return reinterpret_cast<uintptr_t>(v.Pixels); };
    auto end = [](const auto& v) {
        return reinterpret_cast<uintptr_t>(v.Pixels + static_cast<ptrdiff_t>(v.Height - 1) * v.Stride +
                                           v.Width);
    };
    return begin(a) < end(b) && begin(b) < end(a);
}

// The source rows a clipped blit reads; when the source overlaps the target,
// the rows are first copied aside so that drawing never reads what it wrote.
template <typename Pixel>
class TBlitSource {
public:
    TBlitSource(TSurfaceView<Pixel> target, TSurfaceView<const Pixel> source, const TBlitClip& clip);
    // The first source pixel of target row j (then StepX apart).
    const Pixel* Row(int32_t j) const { return view_.Row(y_ + j * stepY_) + x_; }

private:
    TSurface<Pixel> copy_;
    TSurfaceView<const Pixel> view_;
    int32_t x_, y_, stepY_;
};

// Draws n prepared pixels (already flipped) with an optional mask row onto
// dst at the options' level and shade; scratch holds at least n pixels.
void DrawRow(TPixel32* dst, const TPixel32* src, const uint8_t* mask, bool maskIsBinary, size_t n,
             const TDrawOptions& options, TScratch& scratch);

}  // namespace tova
