// Frames and pictures of layered images: masks from transparent indices and
// the conversion of palette frames to colour after loading.
#include <algorithm>

#include "graphics/brio_image.h"

namespace tova {

void TBrioPicture::Resize(int32_t bpp, int32_t width, int32_t height) {
    Bpp = bpp;
    if (IsPalette()) {
        Indices.Resize(width, height);
        Colour = TSurface32();
    } else {
        Colour.Resize(width, height);
        Indices = TSurface8();
    }
}

const TBrioPicture& TBrioLayer::Pixels() const {
    return lentToFrame_ ? owner_->Picture : Picture;
}

void TBrioLayer::LendPictureToFrame() {
    owner_->Picture = std::move(Picture);
    Picture = TBrioPicture{};
    lentToFrame_ = true;
}

TBrioLayer& TBrioFrame::AddLayer() {
    Layers.push_back(std::make_unique<TBrioLayer>(this));
    return *Layers.back();
}

TBrioFrame& TBrioFrameList::AddFrame() {
    Frames.push_back(std::make_unique<TBrioFrame>());
    return *Frames.back();
}

namespace {

void ClearWhereIndex(const TSurface8& indices, int index, TSurface8& mask, bool& hasMask) {
    if (!hasMask) {
        mask.Resize(indices.Width(), indices.Height());
        for (int32_t y = 0; y < mask.Height(); ++y)
            std::fill_n(mask.Row(y), mask.Width(), uint8_t{255});
        hasMask = true;
    }
    for (int32_t y = 0; y < indices.Height(); ++y) {
        const uint8_t* s = indices.Row(y);
        uint8_t* m = mask.Row(y);
        for (int32_t x = 0; x < indices.Width(); ++x)
            if (s[x] == index) m[x] = 0;
    }
}

}  // namespace

void TBrioFrame::BuildMaskFromTransparentIndex() {
    if (!Picture.IsPalette() || TransparentIndex < 0) return;
    ClearWhereIndex(Picture.Indices, TransparentIndex, Mask, HasMask);
    for (auto& layer : Layers)
        if (layer->Pixels().IsPalette())
            ClearWhereIndex(layer->Pixels().Indices, TransparentIndex, layer->Alpha, layer->HasAlpha);
}

void TBrioFrame::ConvertToColour() {
    if (!Picture.IsPalette()) return;
    const TSurface8& indices = Picture.Indices;
    TSurface32 colour(indices.Width(), indices.Height());
    for (int32_t y = 0; y < indices.Height(); ++y) {
        const uint8_t* s = indices.Row(y);
        TPixel32* d = colour.Row(y);
        for (int32_t x = 0; x < indices.Width(); ++x)
            d[x] = Palette[s[x]];
    }
    if (TransparentIndex >= 0 && TransparentIndex < static_cast<int32_t>(Palette.size()))
        TransparentColor = Palette[static_cast<size_t>(TransparentIndex)];
    Picture.Colour = std::move(colour);
    Picture.Indices = TSurface8();
    Picture.Bpp = 24;
}

void TBrioFrameList::FinishLoad(bool buildMasks) {
    for (auto& frame : Frames) {
        if (buildMasks) frame->BuildMaskFromTransparentIndex();
        if (frame->Picture.IsPalette() && (TargetDepth == 0 || frame->HasMask || frame->TransparentIndex < 0))
            frame->ConvertToColour();
        if (buildMasks && !frame->HasMask && frame->TransparentColor && !frame->Picture.IsPalette()) {
            const TSurface32& colour = frame->Picture.Colour;
            frame->Mask.Resize(colour.Width(), colour.Height());
            for (int32_t y = 0; y < colour.Height(); ++y)
                for (int32_t x = 0; x < colour.Width(); ++x)
                    frame->Mask.Row(y)[x] = colour.Row(y)[x] == *frame->TransparentColor ? 0 : 255;
            frame->HasMask = true;
        }
    }
}

}  // namespace tova
