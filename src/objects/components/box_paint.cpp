// Filling and framing a box at an alpha level.
#include "objects/components/box_paint.h"

#include <algorithm>

#include "graphics/draw_ops.h"

namespace tova {

namespace {

// Fills rect with a script colour at a level (255 a plain fill, below it a
// blend through the same arithmetic as every other drawing).
void FillAt(TView32 target, const TRect& clip, const TRect& rect, int32_t color, int32_t level) {
    if (rect.IsEmpty()) return;
    const TPixel32 pixel = PixelFromColorRef(static_cast<uint32_t>(color));
    if (level >= LevelCopy) {
        Fill(target, clip, rect, pixel);
        return;
    }
    const TPixel32 one[1] = {pixel};
    const TConstView32 source{one, 1, 1, 1};
    TDrawOptions options;
    options.Level = level;
    Stretch(target, clip, rect, source, source.Bounds(), options);
}

}  // namespace

void PaintBox(TView32 target, const TRect& clip, const TRect& bounds, const TBoxLook& look) {
    if (bounds.IsEmpty() || look.Alpha <= 0) return;
    const int32_t level = std::min(look.Alpha, LevelCopy);
    TRect inside = bounds;
    if (look.BorderWidth > 0 && look.BorderColor >= 0) {
        // Bands that never overlap, however wide the border.
        const int32_t bx = std::min(look.BorderWidth, bounds.Width());
        const int32_t by = std::min(look.BorderWidth, bounds.Height());
        inside = {bounds.Left + bx, bounds.Top + by, std::max(bounds.Right - bx, bounds.Left + bx),
                  std::max(bounds.Bottom - by, bounds.Top + by)};
        const int32_t c = look.BorderColor;
        FillAt(target, clip, {bounds.Left, bounds.Top, bounds.Right, inside.Top}, c, level);
        FillAt(target, clip, {bounds.Left, inside.Bottom, bounds.Right, bounds.Bottom}, c, level);
        FillAt(target, clip, {bounds.Left, inside.Top, inside.Left, inside.Bottom}, c, level);
        FillAt(target, clip, {inside.Right, inside.Top, bounds.Right, inside.Bottom}, c, level);
    }
    if (look.Color >= 0) FillAt(target, clip, inside, look.Color, level);
}

}  // namespace tova
