// Filling, drawing one source (copy, blend, brighten, through a mask or a
// transparent colour, flipped), additive blending, coverage, constant
// colours and the two-picture mixes of transitions.
#include "graphics/draw_ops.h"

#include <algorithm>
#include <cstring>

#include "graphics/blit_clip.h"
#include "graphics/draw_rows.h"
#include "graphics/pixel_kernels.h"

namespace tova {

namespace {

size_t Count(int32_t width) {
    return static_cast<size_t>(width);
}

// Calls rowFn(dst, src, j) for every row of a clipped blit, with src already
// in target order (flipped rows reversed into scratch.Pixels).
template <typename RowFn>
void ForEachBlitRow(TView32 target, TConstView32 source, const TBlitClip& clip, TScratch& scratch,
                    RowFn rowFn) {
    TBlitSource<TPixel32> rows(target, source, clip);
    size_t n = Count(clip.Target.Width());
    for (int32_t j = 0; j < clip.Target.Height(); ++j) {
        TPixel32* dst = target.Row(clip.Target.Top + j) + clip.Target.Left;
        const TPixel32* src = rows.Row(j);
        if (clip.StepX < 0) {
            kernels::Reverse32(scratch.Pixels.data(), src - (n - 1), n);
            src = scratch.Pixels.data();
        }
        rowFn(dst, src, j);
    }
}

// The mask row of target row j of a clipped blit, flipped when needed.
const uint8_t* MaskRow(const TConstView8& mask, const TBlitClip& clip, int32_t j, TScratch& scratch) {
    const uint8_t* row = mask.Row(clip.SourceY + j * clip.StepY) + clip.SourceX;
    if (clip.StepX > 0) return row;
    size_t n = Count(clip.Target.Width());
    kernels::Reverse8(scratch.Mask.data(), row - (n - 1), n);
    return scratch.Mask.data();
}

void FillRows(TView32 target, const TRect& r, TPixel32 colour) {
    for (int32_t y = r.Top; y < r.Bottom; ++y)
        kernels::Fill32(target.Row(y) + r.Left, Count(r.Width()), colour);
}

// Lightening and darkening: Step is the kernel that adds or subtracts colour.
using TColourStepKernel = void (*)(TPixel32* dst, const TPixel32* src, size_t n, TPixel32 colour);

template <TColourStepKernel Step>
void StepColourInPlace(TView32 target, const TRect& clip, const TRect& rect, TPixel32 colour) {
    auto r = ClipRect(target.Bounds(), clip, rect);
    if (!r) return;
    for (int32_t y = r->Top; y < r->Bottom; ++y) {
        TPixel32* row = target.Row(y) + r->Left;
        Step(row, row, Count(r->Width()), colour);
    }
}

template <TColourStepKernel Step>
void CopyColourStepped(TView32 target, const TRect& clip, int32_t x, int32_t y, TConstView32 source,
                       const TRect& sourceRect, TPixel32 colour) {
    auto c = ClipBlit(target.Bounds(), clip, x, y, source.Bounds(), sourceRect, TFlip::None);
    if (!c) return;
    size_t n = Count(c->Target.Width());
    ForEachBlitRow(target, source, *c, TScratch::ForThread(n),
                   [&](TPixel32* dst, const TPixel32* src, int32_t) { Step(dst, src, n, colour); });
}

}  // namespace

void Fill(TView32 target, const TRect& clip, const TRect& rect, TPixel32 colour) {
    if (auto r = ClipRect(target.Bounds(), clip, rect)) FillRows(target, *r, colour);
}

void Fill(TView8 target, const TRect& clip, const TRect& rect, uint8_t value) {
    auto r = ClipRect(target.Bounds(), clip, rect);
    if (!r) return;
    for (int32_t y = r->Top; y < r->Bottom; ++y)
        std::memset(target.Row(y) + r->Left, value, Count(r->Width()));
}

void Clear(TView32 target) {
    Fill(target, target.Bounds(), target.Bounds(), 0);
}
void Clear(TView8 target) {
    Fill(target, target.Bounds(), target.Bounds(), 0);
}

void Draw(TView32 target, const TRect& clip, int32_t x, int32_t y, TConstView32 source,
          const TRect& sourceRect, const TDrawOptions& options) {
    if (options.Level <= LevelNone) return;
    TRect limit = source.Bounds();
    if (options.Mask) limit = limit.Intersect(options.Mask->Bounds());
    auto c = ClipBlit(target.Bounds(), clip, x, y, limit, sourceRect, options.Flip);
    if (!c) return;
    size_t n = Count(c->Target.Width());
    TScratch& scratch = TScratch::ForThread(n);
    bool keyed = !options.Mask && options.TransparentColor;
    ForEachBlitRow(target, source, *c, scratch, [&](TPixel32* dst, const TPixel32* src, int32_t j) {
        const uint8_t* mask = nullptr;
        if (options.Mask) {
            mask = MaskRow(*options.Mask, *c, j, scratch);
        } else if (keyed) {
            kernels::KeyToMask(scratch.Mask.data(), src, n, *options.TransparentColor);
            mask = scratch.Mask.data();
        }
        DrawRow(dst, src, mask, keyed, n, options, scratch);
    });
}

void Copy(TView32 target, const TRect& clip, int32_t x, int32_t y, TConstView32 source,
          const TRect& sourceRect, TFlip flip) {
    TDrawOptions options;
    options.Flip = flip;
    Draw(target, clip, x, y, source, sourceRect, options);
}

void Blend(TView32 target, const TRect& clip, int32_t x, int32_t y, TConstView32 source,
           const TRect& sourceRect, int32_t level) {
    TDrawOptions options;
    options.Level = level;
    Draw(target, clip, x, y, source, sourceRect, options);
}

void DrawThroughMask(TView32 target, const TRect& clip, int32_t x, int32_t y, TConstView32 source,
                     const TRect& sourceRect, TConstView8 mask, int32_t level) {
    TDrawOptions options;
    options.Level = level;
    options.Mask = &mask;
    Draw(target, clip, x, y, source, sourceRect, options);
}

void Copy(TView8 target, const TRect& clip, int32_t x, int32_t y, TConstView8 source, const TRect& sourceRect,
          TFlip flip) {
    auto c = ClipBlit(target.Bounds(), clip, x, y, source.Bounds(), sourceRect, flip);
    if (!c) return;
    size_t n = Count(c->Target.Width());
    TBlitSource<uint8_t> rows(target, source, *c);
    for (int32_t j = 0; j < c->Target.Height(); ++j) {
        uint8_t* dst = target.Row(c->Target.Top + j) + c->Target.Left;
        if (c->StepX > 0)
            std::memcpy(dst, rows.Row(j), n);
        else
            kernels::Reverse8(dst, rows.Row(j) - (n - 1), n);
    }
}

void AddBlend(TView32 target, const TRect& clip, int32_t x, int32_t y, TConstView32 source,
              const TRect& sourceRect, int32_t level) {
    if (level <= LevelNone) return;
    auto c = ClipBlit(target.Bounds(), clip, x, y, source.Bounds(), sourceRect, TFlip::None);
    if (!c) return;
    size_t n = Count(c->Target.Width());
    uint32_t l = static_cast<uint32_t>(std::min(level, LevelCopy));
    ForEachBlitRow(target, source, *c, TScratch::ForThread(n),
                   [&](TPixel32* dst, const TPixel32* src, int32_t) { kernels::AddScaled(dst, src, n, l); });
}

void FillThroughMask(TView32 target, const TRect& clip, int32_t x, int32_t y, TConstView8 coverage,
                     const TRect& coverageRect, TPixel32 colour, int32_t level) {
    if (level <= LevelNone) return;
    auto c = ClipBlit(target.Bounds(), clip, x, y, coverage.Bounds(), coverageRect, TFlip::None);
    if (!c) return;
    size_t n = Count(c->Target.Width());
    uint32_t l = static_cast<uint32_t>(std::min(level, LevelCopy));
    for (int32_t j = 0; j < c->Target.Height(); ++j)
        kernels::FillMask(target.Row(c->Target.Top + j) + c->Target.Left,
                          coverage.Row(c->SourceY + j) + c->SourceX, n, colour, l);
}

void CompositeCoverage(TView32 targetColour, TView8 targetCoverage, const TRect& clip, int32_t x, int32_t y,
                       TConstView8 coverage, const TRect& coverageRect, TPixel32 colour) {
    TRect bounds = targetColour.Bounds().Intersect(targetCoverage.Bounds());
    auto c = ClipBlit(bounds, clip, x, y, coverage.Bounds(), coverageRect, TFlip::None);
    if (!c) return;
    size_t n = Count(c->Target.Width());
    for (int32_t j = 0; j < c->Target.Height(); ++j) {
        int32_t ty = c->Target.Top + j;
        kernels::CompositeCoverage(targetColour.Row(ty) + c->Target.Left,
                                   targetCoverage.Row(ty) + c->Target.Left,
                                   coverage.Row(c->SourceY + j) + c->SourceX, n, colour);
    }
}

void Lighten(TView32 target, const TRect& clip, const TRect& rect, TPixel32 colour) {
    StepColourInPlace<kernels::AddColor>(target, clip, rect, colour);
}

void Darken(TView32 target, const TRect& clip, const TRect& rect, TPixel32 colour) {
    StepColourInPlace<kernels::SubColor>(target, clip, rect, colour);
}

void CopyLightened(TView32 target, const TRect& clip, int32_t x, int32_t y, TConstView32 source,
                   const TRect& sourceRect, TPixel32 colour) {
    CopyColourStepped<kernels::AddColor>(target, clip, x, y, source, sourceRect, colour);
}

void CopyDarkened(TView32 target, const TRect& clip, int32_t x, int32_t y, TConstView32 source,
                  const TRect& sourceRect, TPixel32 colour) {
    CopyColourStepped<kernels::SubColor>(target, clip, x, y, source, sourceRect, colour);
}

void Mix(TView32 target, const TRect& clip, TConstView32 oldPicture, TConstView32 newPicture, int32_t level) {
    TRect bounds = target.Bounds().Intersect(oldPicture.Bounds()).Intersect(newPicture.Bounds());
    auto r = ClipRect(bounds, clip, bounds);
    if (!r) return;
    size_t n = Count(r->Width());
    for (int32_t y = r->Top; y < r->Bottom; ++y) {
        TPixel32* dst = target.Row(y) + r->Left;
        const TPixel32* o = oldPicture.Row(y) + r->Left;
        const TPixel32* nw = newPicture.Row(y) + r->Left;
        if (level <= LevelNone)
            std::memmove(dst, o, n * sizeof(TPixel32));
        else if (level >= LevelCopy)
            std::memmove(dst, nw, n * sizeof(TPixel32));
        else
            kernels::MixLevel(dst, o, nw, n, static_cast<uint32_t>(level));
    }
}

void MixThroughMask(TView32 target, const TRect& clip, TConstView32 oldPicture, TConstView32 newPicture,
                    TConstView8 mask, TMaskMode mode) {
    if (mask.IsEmpty()) return;
    TRect bounds = target.Bounds().Intersect(oldPicture.Bounds()).Intersect(newPicture.Bounds());
    bounds.Right = std::min(bounds.Right, mask.Width);
    auto r = ClipRect(bounds, clip, bounds);
    if (!r) return;
    size_t n = Count(r->Width());
    for (int32_t y = r->Top; y < r->Bottom; ++y) {
        TPixel32* dst = target.Row(y) + r->Left;
        const TPixel32* o = oldPicture.Row(y) + r->Left;
        const TPixel32* nw = newPicture.Row(y) + r->Left;
        const uint8_t* m = mask.Row(y % mask.Height) + r->Left;
        if (mode == TMaskMode::Select)
            kernels::SelectMask(dst, o, nw, m, n);
        else
            kernels::MixMask(dst, o, nw, m, n, LevelCopy);
    }
}

}  // namespace tova
