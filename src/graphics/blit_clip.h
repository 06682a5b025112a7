// The one clipping path of the drawing operations: given where a source
// rectangle is drawn, it finds the part of the target that is inside the
// target, the clip rectangle and the source (and its mask), and where in the
// source each target row and column comes from. Geometry of any size (also
// near the int32 limits) is handled in 64-bit arithmetic.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>

#include "graphics/draw_ops.h"

namespace tova {

// A clipped blit: Target is non-empty and inside the target surface; target
// pixel (Target.Left + i, Target.Top + j) reads source column
// SourceX + i * StepX and row SourceY + j * StepY (steps are 1 or -1).
struct TBlitClip {
    TRect Target;
    int32_t SourceX = 0;
    int32_t SourceY = 0;
    int32_t StepX = 1;
    int32_t StepY = 1;
};

// sourceRect drawn at (x, y) with the flips; sourceLimit is the part of the
// source that may be read (the source's bounds, intersected with its mask's).
std::optional<TBlitClip> ClipBlit(const TRect& targetBounds, const TRect& clip, int32_t x, int32_t y,
                                  const TRect& sourceLimit, const TRect& sourceRect, TFlip flip);

// rect intersected with the target's bounds and the clip; nullopt when empty.
std::optional<TRect> ClipRect(const TRect& targetBounds, const TRect& clip, const TRect& rect);

// A 64-bit coordinate brought into half the int32 range, so that a sum of
// two such coordinates cannot overflow.
inline int32_t ClampCoordinate(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN / 2, INT32_MAX / 2));
}

}  // namespace tova
