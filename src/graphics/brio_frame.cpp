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

void TBrioPicture::Resize(int32_t bpp, int32_t width, int32_t height, TImageBudget& budget) {
    budget.Take(bpp <= 8 ? TSurface8::BytesFor(width, height) : TSurface32::BytesFor(width, height));
    budget.Give(Bytes());
    Resize(bpp, width, height);
}

const TBrioPicture& TBrioLayer::Pixels() const {
    if (lentToFrame_) return owner_->Picture;
    return blank_ ? *blank_ : Picture;
}

void TBrioLayer::ShareBlankPicture(std::shared_ptr<const TBrioPicture> blank) {
    blank_ = std::move(blank);
    Picture = TBrioPicture{};
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

void ClearWhereIndex(const TSurface8& indices, int index, TSurface8& mask, bool& hasMask,
                     TImageBudget& budget) {
    if (!hasMask) {
        budget.Resize(mask, indices.Width(), indices.Height());
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

void TBrioFrame::BuildMaskFromTransparentIndex(TImageBudget& budget) {
    if (!Picture.IsPalette() || TransparentIndex < 0) return;
    ClearWhereIndex(Picture.Indices, TransparentIndex, Mask, HasMask, budget);
    for (auto& layer : Layers)
        if (layer->Pixels().IsPalette())
            ClearWhereIndex(layer->Pixels().Indices, TransparentIndex, layer->Alpha, layer->HasAlpha, budget);
}

void TBrioFrame::ConvertToColour(TImageBudget& budget) {
    if (!Picture.IsPalette()) return;
    const TSurface8& indices = Picture.Indices;
    TSurface32 colour;
    budget.Resize(colour, indices.Width(), indices.Height());
    for (int32_t y = 0; y < indices.Height(); ++y) {
        const uint8_t* s = indices.Row(y);
        TPixel32* d = colour.Row(y);
        for (int32_t x = 0; x < indices.Width(); ++x)
            d[x] = Palette[s[x]];
    }
    if (TransparentIndex >= 0 && TransparentIndex < static_cast<int32_t>(Palette.size()))
        TransparentColor = Palette[static_cast<size_t>(TransparentIndex)];
    Picture.Colour = std::move(colour);
    budget.Give(Picture.Indices.Bytes());
    Picture.Indices = TSurface8();
    Picture.Bpp = 24;
}

void TBrioFrameList::FinishLoad(bool buildMasks) {
    for (auto& frame : Frames) {
        if (buildMasks) frame->BuildMaskFromTransparentIndex(Budget);
        if (frame->Picture.IsPalette() && (TargetDepth == 0 || frame->HasMask || frame->TransparentIndex < 0))
            frame->ConvertToColour(Budget);
        if (buildMasks && !frame->HasMask && frame->TransparentColor && !frame->Picture.IsPalette()) {
            const TSurface32& colour = frame->Picture.Colour;
            Budget.Resize(frame->Mask, colour.Width(), colour.Height());
            for (int32_t y = 0; y < colour.Height(); ++y)
                for (int32_t x = 0; x < colour.Width(); ++x)
                    frame->Mask.Row(y)[x] = colour.Row(y)[x] == *frame->TransparentColor ? 0 : 255;
            frame->HasMask = true;
        }
    }
}

}  // namespace tova
