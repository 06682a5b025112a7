// Frame composition of layered images.
#include "graphics/brio_compose.h"

#include <algorithm>

namespace tova {
namespace {

enum class TLayerDraw { Copy, AlphaBlend, OpacityAndKey };

void DrawColourLayer(TBrioFrame& frame, const TBrioLayer& layer, TLayerDraw how) {
    TSurface32& dst = frame.Picture.Colour;
    const TSurface32& src = layer.Pixels().Colour;
    const uint32_t opacity = static_cast<uint32_t>(std::clamp(layer.Opacity, 0, 255));
    const bool keyed = layer.TransparentColor != -1;
    const TPixel32 key = PixelFromColorRef(static_cast<uint32_t>(layer.TransparentColor));
    for (int32_t y = 0; y < dst.Height(); ++y) {
        TPixel32* d = dst.Row(y);
        const TPixel32* s = src.Row(y);
        switch (how) {
            case TLayerDraw::Copy:
                std::copy_n(s, dst.Width(), d);
                break;
            case TLayerDraw::AlphaBlend: {
                const uint8_t* a = layer.Alpha.Row(y);
                for (int32_t x = 0; x < dst.Width(); ++x)
                    d[x] = BlendPixel(d[x], s[x], a[x] * opacity / 255);
                break;
            }
            case TLayerDraw::OpacityAndKey:
                for (int32_t x = 0; x < dst.Width(); ++x)
                    if (!keyed || s[x] != key) d[x] = BlendPixel(d[x], s[x], opacity);
                break;
        }
    }
}

void DrawPaletteLayer(TBrioFrame& frame, const TBrioLayer& layer, TLayerDraw how) {
    TSurface8& dst = frame.Picture.Indices;
    const TSurface8& src = layer.Pixels().Indices;
    const bool keyed = layer.TransparentColor != -1 && how == TLayerDraw::OpacityAndKey;
    const TPixel32 key = PixelFromColorRef(static_cast<uint32_t>(layer.TransparentColor));
    for (int32_t y = 0; y < dst.Height(); ++y) {
        uint8_t* d = dst.Row(y);
        const uint8_t* s = src.Row(y);
        const uint8_t* a = how == TLayerDraw::AlphaBlend ? layer.Alpha.Row(y) : nullptr;
        for (int32_t x = 0; x < dst.Width(); ++x) {
            if (a && a[x] < 128) continue;
            if (keyed && frame.Palette[s[x]] == key) continue;
            d[x] = s[x];
        }
    }
}

// The frame's picture at its size and depth, filled with the background.
void FillBackground(TBrioFrame& frame, int32_t width, int32_t height, uint32_t backgroundColor,
                    TImageBudget& budget) {
    TBrioPicture& picture = frame.Picture;
    picture.Resize(frame.Bpp, width, height, budget);
    if (picture.IsPalette()) return;
    const TPixel32 background = PixelFromColorRef(backgroundColor);
    for (int32_t y = 0; y < height; ++y)
        std::fill_n(picture.Colour.Row(y), width, background);
}

}  // namespace

void ComposeBrioFrame(TBrioFrame& frame, int32_t width, int32_t height, uint32_t backgroundColor,
                      bool keepFirst, TImageBudget& budget) {
    TBrioPicture& picture = frame.Picture;
    const auto visibleCount =
        std::count_if(frame.Layers.begin(), frame.Layers.end(), [](const auto& l) { return l->Visible; });
    bool first = true;
    bool covered = false;  // a full copy has replaced the background already
    for (size_t i = 0; i < frame.Layers.size(); ++i) {
        const TBrioLayer& layer = *frame.Layers[i];
        if (!layer.Visible) continue;
        const bool alphaOn = layer.HasAlpha && layer.AlphaOn;
        TLayerDraw how = TLayerDraw::OpacityAndKey;
        if (alphaOn && i != 0)
            how = TLayerDraw::AlphaBlend;
        else if ((layer.TransparentColor == -1 || (first && keepFirst)) && layer.Opacity >= 255)
            how = TLayerDraw::Copy;
        if (first) {
            // A first layer that is copied covers the whole frame, so its
            // pixels are taken over instead of drawn onto the background.
            if (how == TLayerDraw::Copy) {
                // The only layer drawn on a colour frame lends its pixels
                // instead of copying them (palette frames are converted later).
                if (visibleCount == 1 && !layer.Pixels().IsPalette() && !layer.SharesBlankPicture()) {
                    frame.Layers[i]->LendPictureToFrame();
                } else {
                    budget.Take(layer.Pixels().Bytes());
                    budget.Give(picture.Bytes());
                    picture = layer.Pixels();
                }
                covered = true;
            }
            if (alphaOn) {
                budget.Copy(frame.Mask, layer.Alpha);
                frame.HasMask = true;
            }
        }
        if (!covered) {
            FillBackground(frame, width, height, backgroundColor, budget);
            covered = true;
        }
        if (!(first && how == TLayerDraw::Copy)) {
            if (picture.IsPalette())
                DrawPaletteLayer(frame, layer, how);
            else
                DrawColourLayer(frame, layer, how);
        }
        first = false;
    }
    if (!covered) FillBackground(frame, width, height, backgroundColor, budget);
}

}  // namespace tova
