// Drawing a cached frame stretched, mirrored, turned and faded into a
// control's rectangle, the brightness copy, and the hit test through the mask.
#include "objects/components/image_paint.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "graphics/brio_collection.h"

namespace tova {

namespace {

// A turned frame whose stretched, mirrored picture would exceed this many
// pixels is turned from the frame itself (zoom by width, no mirroring).
constexpr int64_t kMaxTurnedPixels = int64_t{1} << 24;

double AngleRadians(int32_t angle) {
    return static_cast<double>(angle % kAngleSteps) * 2.0 * std::numbers::pi / kAngleSteps;
}

int32_t FullWidth(const TBrioItemFrame& f) {
    return f.FullWidth > 0 ? f.FullWidth : f.Colour.Width();
}
int32_t FullHeight(const TBrioItemFrame& f) {
    return f.FullHeight > 0 ? f.FullHeight : f.Colour.Height();
}

// Where the frame's content lies within the full frame once mirrored.
TRect ContentRect(const TBrioItemFrame& f, TFlip flip) {
    const int32_t cw = f.Colour.Width(), ch = f.Colour.Height();
    const int32_t left = HasFlip(flip, TFlip::Horizontal) ? FullWidth(f) - f.OffsetX - cw : f.OffsetX;
    const int32_t top = HasFlip(flip, TFlip::Vertical) ? FullHeight(f) - f.OffsetY - ch : f.OffsetY;
    return TRect::FromSize(left, top, cw, ch);
}

int32_t Scale(int64_t v, int64_t num, int64_t den) {
    return static_cast<int32_t>(std::clamp<int64_t>(v * num / den, INT32_MIN / 4, INT32_MAX / 4));
}

TDrawOptions OptionsFor(const TShownFrame& shown, int32_t level, TFlip flip, const TConstView8& maskView) {
    TDrawOptions options;
    options.Level = level;
    options.Flip = flip;
    if (shown.MaskSurface())
        options.Mask = &maskView;
    else
        options.TransparentColor = shown.TransparentColor();
    return options;
}

// The value of the shown frame's mask at a content pixel: 0 transparent.
uint8_t Opacity(const TShownFrame& shown, int32_t cx, int32_t cy) {
    if (const TSurface8* mask = shown.MaskSurface()) {
        if (cx >= mask->Width() || cy >= mask->Height()) return 0;
        return mask->Row(cy)[cx];
    }
    const auto transparent = shown.TransparentColor();
    if (transparent && shown.ColourView().Row(cy)[cx] == *transparent) return 0;
    return 255;
}

// The full frame point under the point (u, v) of a w x h picture of it.
bool FramePoint(const TShownFrame& shown, TFlip flip, int32_t w, int32_t h, int64_t u, int64_t v, int32_t& cx,
                int32_t& cy) {
    const TBrioItemFrame& f = *shown.Frame;
    if (u < 0 || v < 0 || u >= w || v >= h) return false;
    int64_t fx = u * FullWidth(f) / w, fy = v * FullHeight(f) / h;
    if (HasFlip(flip, TFlip::Horizontal)) fx = FullWidth(f) - 1 - fx;
    if (HasFlip(flip, TFlip::Vertical)) fy = FullHeight(f) - 1 - fy;
    fx -= f.OffsetX;
    fy -= f.OffsetY;
    if (fx < 0 || fy < 0 || fx >= f.Colour.Width() || fy >= f.Colour.Height()) return false;
    cx = static_cast<int32_t>(fx);
    cy = static_cast<int32_t>(fy);
    return true;
}

// How a turned frame is drawn: straight from the frame, zoomed by width
// (a plain picture, or one too big to draw unturned first), or from the
// picture as it would be drawn unturned, at its own size.
struct TTurning {
    bool Direct = false;
    int32_t CentreX = 0, CentreY = 0;
    int32_t SourceWidth = 0, SourceHeight = 0;
    TRotation Rotation;
};

TTurning TurningOf(const TRect& bounds, const TShownFrame& shown, const TImageLook& look) {
    const TBrioItemFrame& f = *shown.Frame;
    const int32_t w = bounds.Width(), h = bounds.Height();
    TTurning turning;
    turning.CentreX = bounds.Left + w / 2;
    turning.CentreY = bounds.Top + h / 2;
    turning.Rotation = {AngleRadians(look.Angle), 256};
    const bool plain = look.Flip == TFlip::None && f.OffsetX == 0 && f.OffsetY == 0 &&
                       f.Colour.Width() == FullWidth(f) && f.Colour.Height() == FullHeight(f) &&
                       int64_t{w} * FullHeight(f) == int64_t{h} * FullWidth(f);
    turning.Direct =
        plain || int64_t{w} * h > kMaxTurnedPixels || w > TSurface32::MaxSide || h > TSurface32::MaxSide;
    if (turning.Direct) {
        turning.Rotation.Zoom = Scale(w, 256, FullWidth(f));
        turning.SourceWidth = f.Colour.Width();
        turning.SourceHeight = f.Colour.Height();
    } else {
        turning.SourceWidth = w;
        turning.SourceHeight = h;
    }
    return turning;
}

void PaintTurned(TView32 target, const TRect& clip, const TRect& bounds, const TShownFrame& shown,
                 const TImageLook& look) {
    const int32_t w = bounds.Width(), h = bounds.Height();
    if (w <= 0 || h <= 0) return;
    const TTurning turning = TurningOf(bounds, shown, look);
    if (turning.Direct) {
        const TConstView8 maskView = shown.MaskSurface() ? shown.MaskSurface()->View() : TConstView8{};
        DrawRotated(target, clip, turning.CentreX, turning.CentreY, shown.ColourView(), turning.Rotation,
                    OptionsFor(shown, look.Level, TFlip::None, maskView));
        return;
    }
    // The picture as it would be drawn unturned, with its mask, then turned.
    TSurface32 picture(w, h);
    TSurface8 mask(w, h);
    const TConstView32 colour = shown.ColourView();
    for (int32_t v = 0; v < h; ++v)
        for (int32_t u = 0; u < w; ++u) {
            int32_t cx, cy;
            if (!FramePoint(shown, look.Flip, w, h, u, v, cx, cy)) continue;
            picture.Row(v)[u] = colour.Row(cy)[cx];
            mask.Row(v)[u] = Opacity(shown, cx, cy);
        }
    const TConstView8 maskView = mask.View();
    TDrawOptions options;
    options.Level = look.Level;
    options.Mask = &maskView;
    DrawRotated(target, clip, turning.CentreX, turning.CentreY, picture.View(), turning.Rotation, options);
}

}  // namespace

TConstView32 TShownFrame::ColourView() const {
    return Colour.IsEmpty() ? Frame->Colour.View() : Colour.View();
}

const TSurface8* TShownFrame::MaskSurface() const {
    if (!Colour.IsEmpty()) return HasMask ? &Mask : nullptr;
    return Frame->HasMask ? &Frame->Mask : nullptr;
}

std::optional<TPixel32> TShownFrame::TransparentColor() const {
    if (!Colour.IsEmpty()) return std::nullopt;
    return Frame->TransparentColor;
}

void ShowFrame(TShownFrame& shown, const TBrioItemFrame* frame, int32_t brightness) {
    shown.Frame = frame;
    shown.Colour = TSurface32();
    shown.Mask = TSurface8();
    shown.HasMask = false;
    if (!frame || brightness == 255 || frame->Colour.IsEmpty()) return;
    shown.Colour = frame->Colour;
    const TRect all = shown.Colour.Bounds();
    if (brightness > 255) {
        const uint32_t add = static_cast<uint32_t>(std::min(brightness - 255, 255));
        Lighten(shown.Colour.View(), all, all, add * 0x010101u);
    } else {
        const uint32_t sub = static_cast<uint32_t>(std::min<int64_t>(255 - int64_t{brightness}, 255));
        Darken(shown.Colour.View(), all, all, sub * 0x010101u);
    }
    if (frame->HasMask) {
        shown.Mask = frame->Mask;
        shown.HasMask = true;
    } else if (frame->TransparentColor) {
        shown.Mask.Resize(all.Width(), all.Height());
        for (int32_t y = 0; y < all.Height(); ++y)
            for (int32_t x = 0; x < all.Width(); ++x)
                shown.Mask.Row(y)[x] = frame->Colour.Row(y)[x] == *frame->TransparentColor ? 0 : 255;
        shown.HasMask = true;
    }
}

void PaintImageFrame(TView32 target, const TRect& clip, const TRect& bounds, const TShownFrame& shown,
                     const TImageLook& look) {
    if (shown.IsEmpty() || bounds.IsEmpty() || look.Level <= LevelNone) return;
    const TBrioItemFrame& f = *shown.Frame;
    if (f.Colour.IsEmpty() || FullWidth(f) <= 0 || FullHeight(f) <= 0) return;
    if (look.Angle % kAngleSteps != 0) {
        PaintTurned(target, clip, bounds, shown, look);
        return;
    }
    const TConstView8 maskView = shown.MaskSurface() ? shown.MaskSurface()->View() : TConstView8{};
    const TDrawOptions options = OptionsFor(shown, std::min(look.Level, LevelCopy), look.Flip, maskView);
    const TRect content = ContentRect(f, look.Flip);
    const TConstView32 colour = shown.ColourView();
    if (bounds.Width() == FullWidth(f) && bounds.Height() == FullHeight(f)) {
        Draw(target, clip, bounds.Left + content.Left, bounds.Top + content.Top, colour, colour.Bounds(),
             options);
        return;
    }
    const TRect at{bounds.Left + Scale(content.Left, bounds.Width(), FullWidth(f)),
                   bounds.Top + Scale(content.Top, bounds.Height(), FullHeight(f)),
                   bounds.Left + Scale(content.Right, bounds.Width(), FullWidth(f)),
                   bounds.Top + Scale(content.Bottom, bounds.Height(), FullHeight(f))};
    Stretch(target, clip, at, colour, colour.Bounds(), options);
}

TRect FramePaintedRect(const TRect& bounds, const TShownFrame& shown, const TImageLook& look) {
    if (look.Angle % kAngleSteps == 0 || shown.IsEmpty() || bounds.IsEmpty() ||
        shown.Frame->Colour.IsEmpty() || FullWidth(*shown.Frame) <= 0 || FullHeight(*shown.Frame) <= 0)
        return bounds;
    const TTurning turning = TurningOf(bounds, shown, look);
    return RotatedBounds(turning.CentreX, turning.CentreY, turning.SourceWidth, turning.SourceHeight,
                         turning.Rotation);
}

bool FrameHitsPoint(const TRect& bounds, const TShownFrame& shown, const TImageLook& look, int32_t x,
                    int32_t y) {
    if (shown.IsEmpty() || bounds.IsEmpty()) return false;
    const TBrioItemFrame& f = *shown.Frame;
    if (f.Colour.IsEmpty() || FullWidth(f) <= 0 || FullHeight(f) <= 0) return false;
    const int32_t w = bounds.Width(), h = bounds.Height();
    int64_t u = int64_t{x} - bounds.Left, v = int64_t{y} - bounds.Top;
    if (look.Angle % kAngleSteps != 0) {
        // The inverse of the turn DrawRotated makes about the rectangle's centre.
        const double a = AngleRadians(look.Angle), c = std::cos(a), s = std::sin(a);
        const double dx = x + 0.5 - (bounds.Left + w / 2), dy = y + 0.5 - (bounds.Top + h / 2);
        u = static_cast<int64_t>(std::floor(c * dx + s * dy + w / 2.0));
        v = static_cast<int64_t>(std::floor(c * dy - s * dx + h / 2.0));
    }
    int32_t cx, cy;
    if (!FramePoint(shown, look.Flip, w, h, u, v, cx, cy)) return false;
    return Opacity(shown, cx, cy) > 0;
}

}  // namespace tova
