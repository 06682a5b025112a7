// Drawing a cached frame stretched, mirrored, turned, faded and brightened
// into a control's rectangle, the turned picture kept between paints, and
// the hit test through the mask.
#include "objects/components/image_paint.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

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

// The shade that gives a brightness: 255 none, above it lighter, below darker.
int32_t ShadeOf(int32_t brightness) {
    return static_cast<int32_t>(std::clamp<int64_t>(int64_t{brightness} - 255, -255, 255));
}

TDrawOptions OptionsFor(const TShownFrame& shown, int32_t level, TFlip flip, const TConstView8& maskView) {
    TDrawOptions options;
    options.Level = level;
    options.Flip = flip;
    options.Shade = ShadeOf(shown.Brightness);
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
    if (transparent && shown.Frame->Colour.Row(cy)[cx] == *transparent) return 0;
    return 255;
}

// The content column (or row) under column u of a picture of the full
// frame stretched to n pixels, mirrored when flipped; -1 outside the content.
int32_t ContentIndex(int64_t u, int32_t n, int32_t full, int32_t offset, int32_t content, bool flipped) {
    if (u < 0 || u >= n) return -1;
    int64_t f = u * full / n;
    if (flipped) f = full - 1 - f;
    f -= offset;
    return f >= 0 && f < content ? static_cast<int32_t>(f) : -1;
}

// The full frame point under the point (u, v) of a w x h picture of it.
bool FramePoint(const TShownFrame& shown, TFlip flip, int32_t w, int32_t h, int64_t u, int64_t v, int32_t& cx,
                int32_t& cy) {
    const TBrioItemFrame& f = *shown.Frame;
    cx = ContentIndex(u, w, FullWidth(f), f.OffsetX, f.Colour.Width(), HasFlip(flip, TFlip::Horizontal));
    cy = ContentIndex(v, h, FullHeight(f), f.OffsetY, f.Colour.Height(), HasFlip(flip, TFlip::Vertical));
    return cx >= 0 && cy >= 0;
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

// Where each of the n columns (or rows) of a picture of the full frame
// stretched to n pixels, mirrored when flipped, falls in the frame's
// content: the content column, or -1 outside the content.
std::vector<int32_t> ContentAxis(int32_t n, int32_t full, int32_t offset, int32_t content, bool flipped) {
    std::vector<int32_t> axis(static_cast<size_t>(n));
    for (int32_t u = 0; u < n; ++u)
        axis[static_cast<size_t>(u)] = ContentIndex(u, n, full, offset, content, flipped);
    return axis;
}

// Makes the part of the turned frame that lies on the target: straight
// from the frame, or from the picture of it as it would be drawn unturned
// (stretched and mirrored) through its axes.
void MakeTurned(TTurnedPicture& turned, const TRect& targetBounds, const TRect& bounds,
                const TShownFrame& shown, const TImageLook& look) {
    const TBrioItemFrame& f = *shown.Frame;
    const TTurning turning = TurningOf(bounds, shown, look);
    const TConstView8 maskView = shown.MaskSurface() ? shown.MaskSurface()->View() : TConstView8{};
    const TDrawOptions sampling = OptionsFor(shown, LevelCopy, TFlip::None, maskView);
    std::vector<int32_t> columns, rows;
    TPictureAxes axes;
    if (!turning.Direct) {
        columns = ContentAxis(bounds.Width(), FullWidth(f), f.OffsetX, f.Colour.Width(),
                              HasFlip(look.Flip, TFlip::Horizontal));
        rows = ContentAxis(bounds.Height(), FullHeight(f), f.OffsetY, f.Colour.Height(),
                           HasFlip(look.Flip, TFlip::Vertical));
        axes = {columns, rows};
    }
    const TRotatedSampler sampler(turning.CentreX, turning.CentreY, f.Colour.View(), turning.Rotation,
                                  sampling, turning.Direct ? nullptr : &axes);
    const TRect area = sampler.Bounds().Intersect(targetBounds);
    turned.Area = area;
    if (turned.Colour.Width() != area.Width() || turned.Colour.Height() != area.Height()) {
        turned.Colour.Resize(area.Width(), area.Height());
        turned.Mask.Resize(area.Width(), area.Height());
    }
    for (int32_t y = 0; y < area.Height(); ++y)
        sampler.SampleRow(area.Left, area.Top + y, static_cast<size_t>(area.Width()), turned.Colour.Row(y),
                          turned.Mask.Row(y));
}

void PaintTurned(TView32 target, const TRect& clip, const TRect& bounds, const TShownFrame& shown,
                 const TImageLook& look) {
    if (bounds.Width() <= 0 || bounds.Height() <= 0) return;
    TTurnedPicture& turned = shown.Turned;
    const TTurnedPicture::TKey key{shown.Frame,  shown.Frame->Colour.Data(), bounds,
                                   look.Flip,    look.Angle % kAngleSteps,   target.Width,
                                   target.Height};
    if (turned.Key != key) {
        turned.Key.reset();
        MakeTurned(turned, target.Bounds(), bounds, shown, look);
        turned.Key = key;
    }
    const TConstView8 maskView = turned.Mask.View();
    TDrawOptions options;
    options.Level = look.Level;
    options.Shade = ShadeOf(shown.Brightness);
    options.Mask = &maskView;
    Draw(target, clip, turned.Area.Left, turned.Area.Top, turned.Colour.View(), turned.Colour.Bounds(),
         options);
}

}  // namespace

const TSurface8* TShownFrame::MaskSurface() const {
    return Frame->HasMask ? &Frame->Mask : nullptr;
}

std::optional<TPixel32> TShownFrame::TransparentColor() const {
    return Frame->TransparentColor;
}

void ShowFrame(TShownFrame& shown, const TBrioItemFrame* frame, int32_t brightness) {
    if (frame != shown.Frame) shown.Turned = TTurnedPicture{};
    shown.Frame = frame;
    shown.Brightness = brightness;
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
    const TConstView32 colour = f.Colour.View();
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
