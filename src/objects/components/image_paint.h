// Drawing one frame of a cached image into a control's rectangle, and the
// matching hit test: the frame is stretched to the rectangle (the control's
// zoomed size), mirrored by the flips, turned about the rectangle's centre by
// the angle, and drawn at the alpha level through its mask or transparent
// colour. The brightened or darkened copy of a frame is made here too.
#pragma once

#include <cstdint>
#include <optional>

#include "graphics/draw_ops.h"
#include "graphics/surface.h"

namespace tova {

struct TBrioItemFrame;

// Angles of components are in 256 steps per full turn, clockwise on screen.
constexpr int32_t kAngleSteps = 256;

struct TImageLook {
    int32_t Level = LevelCopy;  // the alpha: 0 nothing .. 255 opaque
    TFlip Flip = TFlip::None;
    int32_t Angle = 0;
};

// The part of a turned frame that lies on the target, with its mask, as it
// was last made; made again only when what it shows changes (the frame,
// the rectangle, the angle, the flips or the target's size). Brightness
// and alpha apply as it is drawn, so they do not change it.
struct TTurnedPicture {
    struct TKey {
        const TBrioItemFrame* Frame = nullptr;
        const TPixel32* Pixels = nullptr;  // the frame's pixels, which a reload replaces
        TRect Bounds;
        TFlip Flip = TFlip::None;
        int32_t Angle = 0;
        int32_t TargetWidth = 0;
        int32_t TargetHeight = 0;
        bool operator==(const TKey&) const = default;
    };
    std::optional<TKey> Key;
    TRect Area;  // where Colour and Mask lie on the target
    TSurface32 Colour;
    TSurface8 Mask;
};

// A frame ready to draw: the cache's frame at a brightness, which is
// applied to the pixels as they are drawn (the frame is never copied for
// it), and the turned picture last drawn from it.
struct TShownFrame {
    const TBrioItemFrame* Frame = nullptr;
    int32_t Brightness = 255;
    mutable TTurnedPicture Turned;

    bool IsEmpty() const { return Frame == nullptr; }
    // The mask to draw through, or null.
    const TSurface8* MaskSurface() const;
    std::optional<TPixel32> TransparentColor() const;
};

// Makes frame ready to draw at a brightness: 255 leaves it, above 255 every
// channel is raised by brightness - 255 (towards white), below it lowered by
// 255 - brightness (towards black); both saturate. The turned picture is
// kept while the frame stays the same.
void ShowFrame(TShownFrame& shown, const TBrioItemFrame* frame, int32_t brightness);

// Draws the shown frame stretched to bounds (screen coordinates) through clip.
void PaintImageFrame(TView32 target, const TRect& clip, const TRect& bounds, const TShownFrame& shown,
                     const TImageLook& look);

// The screen rectangle PaintImageFrame may touch: bounds, or the box
// around the turned picture.
TRect FramePaintedRect(const TRect& bounds, const TShownFrame& shown, const TImageLook& look);

// Whether the screen point (x, y) falls on an opaque pixel of the frame as
// PaintImageFrame draws it into bounds (mask value above 0, not the
// transparent colour). A frame without mask or transparent colour is opaque.
bool FrameHitsPoint(const TRect& bounds, const TShownFrame& shown, const TImageLook& look, int32_t x,
                    int32_t y);

}  // namespace tova
