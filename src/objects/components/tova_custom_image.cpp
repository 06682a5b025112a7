// Picture components: the source through the image cache, sizing by zoom,
// drawing and hit testing the shown frame, the shared properties and the
// picture part of the save record.
#include "objects/components/tova_custom_image.h"

#include <algorithm>

#include "expr/custom_param.h"
#include "graphics/brio_collection.h"
#include "objects/property_ids.h"
#include "objects/record_io.h"
#include "objects/tova_base_list.h"

namespace tova {

namespace {

// The largest side a zoom makes; drawing clips, this only keeps the
// position arithmetic of huge zooms far from overflow.
constexpr int64_t kMaxZoomedSide = int64_t{1} << 20;

int32_t Zoomed(int32_t size, int32_t zoom) {
    return static_cast<int32_t>(std::clamp<int64_t>(int64_t{size} * zoom / 256, 0, kMaxZoomedSide));
}

}  // namespace

TTovaCustomImage::~TTovaCustomImage() {
    ReleaseImage();
}

void TTovaCustomImage::ReleaseImage() {
    ShowFrame(shown_, nullptr, 255);
    shownBrightness_ = 255;
    if (image_ && cache_) cache_->Release(image_, this);
    image_ = nullptr;
    cache_ = nullptr;
}

void TTovaCustomImage::Acquire(const std::string& source) {
    ReleaseImage();
    source_ = source;
    TBrioCollection* cache = Screen ? Screen->ImageCache() : nullptr;
    if (!cache || source_.empty()) return;
    image_ = &cache->Acquire(this, source_, false, false);
    cache_ = cache;
}

void TTovaCustomImage::SetSource(const std::string& source) {
    Invalidate();
    Acquire(source);
    SourceLoaded();
    Invalidate();
}

int32_t TTovaCustomImage::FrameCount() const {
    return image_ ? static_cast<int32_t>(image_->Frames.size()) : 0;
}

const TBrioItemFrame* TTovaCustomImage::FrameAt(int32_t index) const {
    if (index < 0 || index >= FrameCount()) return nullptr;
    return image_->Frames[static_cast<size_t>(index)].get();
}

int32_t TTovaCustomImage::OrigWidth() const {
    if (origWidth_ > 0) return origWidth_;
    if (const TBrioItemFrame* f = FrameAt(ShownIndex())) return f->FullWidth;
    return image_ ? image_->Width : 0;
}

int32_t TTovaCustomImage::OrigHeight() const {
    if (origHeight_ > 0) return origHeight_;
    if (const TBrioItemFrame* f = FrameAt(ShownIndex())) return f->FullHeight;
    return image_ ? image_->Height : 0;
}

void TTovaCustomImage::SizeFromPicture() {
    SetBounds(Left, Top, Zoomed(OrigWidth(), zoomX_), Zoomed(OrigHeight(), zoomY_));
}

const TShownFrame& TTovaCustomImage::Shown() const {
    const TBrioItemFrame* frame = FrameAt(ShownIndex());
    const int32_t brightness = ShownBrightness();
    if (frame != shown_.Frame || brightness != shownBrightness_) {
        ShowFrame(shown_, frame, brightness);
        shownBrightness_ = brightness;
    }
    return shown_;
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
    switch (id) {
        case PR_SOURCE:
            result.SetStr(source_);
            return;
        case PR_ZOOMX:
            result.SetInt(zoomX_);
            return;
        case PR_ZOOMY:
            result.SetInt(zoomY_);
            return;
        case PR_ALPHA:
            result.SetInt(Alpha);
            return;
        case PR_ANGLE:
            result.SetInt(Angle);
            return;
        case PR_CAPTUREMASK:
            result.SetBool(CaptureMask);
            return;
        case PR_ORIGWIDTH:
            result.SetInt(OrigWidth());
            return;
        case PR_ORIGHEIGHT:
            result.SetInt(OrigHeight());
            return;
        case PR_FLIPH:
            result.SetBool(flipH_);
            return;
        case PR_FLIPV:
            result.SetBool(flipV_);
            return;
        case PR_REPEAT:
            result.SetBool(Repeat);
            return;
        case PR_AUTOSCRAP:
            result.SetBool(AutoScrap);
            return;
        case PR_ONPLAYEND:
            result.SetStr(OnPlayEnd);
            return;
        case PR_ONIDLE:
            result.SetStr(OnIdle);
            return;
        default:
            TTovaControl::GetProp(id, result);
            return;
    }
}

void TTovaCustomImage::SetProp(int id, const TCustomParam& value) {
    switch (id) {
        case PR_SOURCE:
            SetSource(value.GetStr());
            return;
        case PR_ZOOMX:
            zoomX_ = value.GetInt();
            SizeFromPicture();
            return;
        case PR_ZOOMY:
            zoomY_ = value.GetInt();
            SizeFromPicture();
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
        case PR_REPEAT:
            Repeat = value.GetBool();
            return;
        case PR_AUTOSCRAP:
            AutoScrap = value.GetBool();
            return;
        case PR_ONPLAYEND:
            OnPlayEnd = value.GetStr();
            return;
        case PR_ONIDLE:
            OnIdle = value.GetStr();
            return;
        default:
            TTovaControl::SetProp(id, value);
            return;
    }
}

void TTovaCustomImage::VisitImageRecord(TRecordIO& io, int32_t /*version*/) {
    std::string source = source_;
    io.String(source);
    if (io.Reading()) Acquire(source);
    io.I32(zoomX_);
    io.I32(zoomY_);
    io.I32(Alpha);
    io.I32(Angle);
    io.Bool(flipH_);
    io.Bool(flipV_);
    io.Bool(CaptureMask);
    io.I32(origWidth_);
    io.I32(origHeight_);
    io.Bool(Repeat);
    io.Bool(AutoScrap);
    io.String(OnPlayEnd);
    io.String(OnIdle);
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
