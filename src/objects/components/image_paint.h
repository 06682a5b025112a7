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

// A frame ready to draw: the cache's frame, or a copy of it whose colours a
// brightness changed (the copy keeps the frame's size, offset and mask; a
// transparent colour becomes a mask, since the changed colours no longer
// match it).
struct TShownFrame {
    const TBrioItemFrame* Frame = nullptr;
    TSurface32 Colour;  // empty when the frame is drawn as it is
    TSurface8 Mask;
    bool HasMask = false;

    bool IsEmpty() const { return Frame == nullptr; }
    TConstView32 ColourView() const;
    // The mask to draw through, or null.
    const TSurface8* MaskSurface() const;
    std::optional<TPixel32> TransparentColor() const;
};

// Makes frame ready to draw at a brightness: 255 leaves it, above 255 every
// channel is raised by brightness - 255 (towards white), below it lowered by
// 255 - brightness (towards black); both saturate.
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
