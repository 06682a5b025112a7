// Clipping of blits and rectangles in 64-bit arithmetic.
#include "graphics/blit_clip.h"

#include <algorithm>

namespace tova {

namespace {

// A half-open interval of 64-bit coordinates.
struct TSpan {
    int64_t Low;
    int64_t High;
    TSpan Intersect(TSpan other) const { return {std::max(Low, other.Low), std::min(High, other.High)}; }
    bool IsEmpty() const { return High <= Low; }
};

// One axis: the target span that the source span [from, to) reaches when the
// source start `first` is drawn at `at`, clipped to `limit` of the source
// and `window` of the target; flipped, the source runs backwards.
struct TAxis {
    int64_t TargetLow;
    int64_t TargetHigh;
    int64_t SourceStart;
};

std::optional<TAxis> ClipAxis(int64_t at, TSpan source, TSpan limit, TSpan window, bool flipped) {
    TSpan readable = source.Intersect(limit);
    if (readable.IsEmpty()) return std::nullopt;
    // Target span of the readable source part.
    TSpan reach = flipped ? TSpan{at + (source.High - readable.High), at + (source.High - readable.Low)}
                          : TSpan{at + (readable.Low - source.Low), at + (readable.High - source.Low)};
    TSpan target = reach.Intersect(window);
    if (target.IsEmpty()) return std::nullopt;
    int64_t offset = target.Low - at;
    int64_t start = flipped ? source.High - 1 - offset : source.Low + offset;
    return TAxis{target.Low, target.High, start};
}

TSpan Horizontal(const TRect& r) {
    return {r.Left, r.Right};
}
TSpan Vertical(const TRect& r) {
    return {r.Top, r.Bottom};
}

}  // namespace

std::optional<TBlitClip> ClipBlit(const TRect& targetBounds, const TRect& clip, int32_t x, int32_t y,
                                  const TRect& sourceLimit, const TRect& sourceRect, TFlip flip) {
    bool flipX = HasFlip(flip, TFlip::Horizontal);
    bool flipY = HasFlip(flip, TFlip::Vertical);
    TSpan windowX = Horizontal(targetBounds).Intersect(Horizontal(clip));
    TSpan windowY = Vertical(targetBounds).Intersect(Vertical(clip));
    auto ax = ClipAxis(x, Horizontal(sourceRect), Horizontal(sourceLimit), windowX, flipX);
    if (!ax) return std::nullopt;
    auto ay = ClipAxis(y, Vertical(sourceRect), Vertical(sourceLimit), windowY, flipY);
    if (!ay) return std::nullopt;
    // Every value is now inside the target or the source, so it fits int32.
    TBlitClip result;
    result.Target = {static_cast<int32_t>(ax->TargetLow), static_cast<int32_t>(ay->TargetLow),
                     static_cast<int32_t>(ax->TargetHigh), static_cast<int32_t>(ay->TargetHigh)};
    result.SourceX = static_cast<int32_t>(ax->SourceStart);
    result.SourceY = static_cast<int32_t>(ay->SourceStart);
    result.StepX = flipX ? -1 : 1;
    result.StepY = flipY ? -1 : 1;
    return result;
}

std::optional<TRect> ClipRect(const TRect& targetBounds, const TRect& clip, const TRect& rect) {
    TRect r = rect.Intersect(targetBounds).Intersect(clip);
    if (r.IsEmpty()) return std::nullopt;
    return r;
}

}  // namespace tova
