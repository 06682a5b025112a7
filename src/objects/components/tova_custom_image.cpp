// Picture components: the source through the image cache, sizing by zoom,
// drawing and hit testing the shown frame, the shared properties and the
// picture part of the save record.
#include "objects/components/tova_custom_image.h"

#include <algorithm>

#include "expr/custom_param.h"
#include "graphics/brio_collection.h"
#include "objects/property_ids.h"
#include "objects/record_io.h"

namespace tova {

namespace {

// The largest side a zoom makes; drawing clips, this only keeps the
// position arithmetic of huge zooms far from overflow.
constexpr int64_t kMaxZoomedSide = int64_t{1} << 20;

int32_t Zoomed(int32_t size, int32_t zoom) {
    return static_cast<int32_t>(std::clamp<int64_t>(int64_t{size} * zoom / 256, 0, kMaxZoomedSide));
}

}  // namespace

void TTovaCustomImage::SetSource(const std::string& source) {
    Invalidate();
    picture_.Load(Screen, source);
    SourceLoaded();
    Invalidate();
}

int32_t TTovaCustomImage::OrigWidth() const {
    if (origWidth_ > 0) return origWidth_;
    if (const TBrioItemFrame* f = FrameAt(ShownIndex())) return f->FullWidth;
    return Image() ? Image()->Width : 0;
}

int32_t TTovaCustomImage::OrigHeight() const {
    if (origHeight_ > 0) return origHeight_;
    if (const TBrioItemFrame* f = FrameAt(ShownIndex())) return f->FullHeight;
    return Image() ? Image()->Height : 0;
}

void TTovaCustomImage::SizeFromPicture() {
    SetBounds(Left, Top, Zoomed(OrigWidth(), zoomX_), Zoomed(OrigHeight(), zoomY_));
}

const TShownFrame& TTovaCustomImage::Shown() const {
    return picture_.Show(FrameAt(ShownIndex()), ShownBrightness());
}

TImageLook TTovaCustomImage::Look() const {
    TFlip flip = TFlip::None;
    if (flipH_) flip = TFlip::Horizontal;
    if (flipV_) flip = flipH_ ? TFlip::Both : TFlip::Vertical;
    return {Alpha, flip, Angle};
}

TRect TTovaCustomImage::PaintedRect() const {
    return FramePaintedRect(GetBoundsRect(), Shown(), Look());
}

void TTovaCustomImage::Paint(TPaintContext& context) {
    PaintImageFrame(context.Target.View(), context.Clip, GetBoundsRect(), Shown(), Look());
}

TTovaControl* TTovaCustomImage::HitTest(int32_t x, int32_t y, TMouseModes modes) {
    TTovaControl* hit = TTovaControl::HitTest(x, y, modes);
    if (hit == this && CaptureMask && !FrameHitsPoint(GetBoundsRect(), Shown(), Look(), x, y)) return nullptr;
    return hit;
}

void TTovaCustomImage::GetProp(int id, TCustomParam& result) const {
    if (GetPlayProp(id, result)) return;
    switch (id) {
        case PR_SOURCE:
            return result.SetStr(Source());
        case PR_ZOOMX:
            return result.SetInt(zoomX_);
        case PR_ZOOMY:
            return result.SetInt(zoomY_);
        case PR_ALPHA:
            return result.SetInt(Alpha);
        case PR_ANGLE:
            return result.SetInt(Angle);
        case PR_CAPTUREMASK:
            return result.SetBool(CaptureMask);
        case PR_ORIGWIDTH:
            return result.SetInt(OrigWidth());
        case PR_ORIGHEIGHT:
            return result.SetInt(OrigHeight());
        case PR_FLIPH:
            return result.SetBool(flipH_);
        case PR_FLIPV:
            return result.SetBool(flipV_);
        default:
            return TTovaControl::GetProp(id, result);
    }
}

void TTovaCustomImage::SetProp(int id, const TCustomParam& value) {
    if (SetPlayProp(id, value)) return;
    switch (id) {
        case PR_SOURCE:
            SetSource(value.GetStr());
            return;
        case PR_ZOOMX:
        case PR_ZOOMY:
            // The zoom scales the anchor of the offset too, so the control and
            // its children may move even when the size stays.
            Invalidate();
            (id == PR_ZOOMX ? zoomX_ : zoomY_) = value.GetInt();
            SizeFromPicture();
            Invalidate();
            return;
        case PR_ORIGWIDTH:
            origWidth_ = std::max(value.GetInt(), 0);
            SizeFromPicture();
            return;
        case PR_ORIGHEIGHT:
            origHeight_ = std::max(value.GetInt(), 0);
            SizeFromPicture();
            return;
        case PR_ALPHA:
            Alpha = value.GetInt();
            Invalidate();
            return;
        case PR_ANGLE:
            Invalidate();  // the turned picture's old box
            Angle = value.GetInt();
            Invalidate();
            return;
        case PR_FLIPH:
        case PR_FLIPV:
            // The anchor of the offset mirrors too, so the position may move.
            Invalidate();
            (id == PR_FLIPH ? flipH_ : flipV_) = value.GetBool();
            Invalidate();
            return;
        case PR_CAPTUREMASK:
            CaptureMask = value.GetBool();
            return;
        default:
            TTovaControl::SetProp(id, value);
            return;
    }
}

void TTovaCustomImage::VisitImageRecord(TRecordIO& io, int32_t /*version*/) {
    picture_.VisitSource(io, Screen);
    io.I32(zoomX_);
    io.I32(zoomY_);
    io.I32(Alpha);
    io.I32(Angle);
    io.Bool(flipH_);
    io.Bool(flipV_);
    io.Bool(CaptureMask);
    io.I32(origWidth_);
    io.I32(origHeight_);
    VisitPlayRecord(io);
    if (io.Reading()) {
        origWidth_ = std::max(origWidth_, 0);
        origHeight_ = std::max(origHeight_, 0);
    }
}

void TTovaCustomImage::SaveToStream(TStream& stream) const {
    TTovaControl::SaveToStream(stream);
    TRecordIO io(stream, TRecordIO::TMode::Write);
    const_cast<TTovaCustomImage*>(this)->VisitImageRecord(io, kObjectsSaveVersion);
}

void TTovaCustomImage::LoadFromStream(TStream& stream, int32_t version) {
    TTovaControl::LoadFromStream(stream, version);
    TRecordIO io(stream, TRecordIO::TMode::Read);
    VisitImageRecord(io, version);
}

}  // namespace tova
