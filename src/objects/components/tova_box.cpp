// The box component: its properties, picture and save record.
#include "objects/components/tova_box.h"

#include "expr/custom_param.h"
#include "graphics/brio_collection.h"
#include "objects/components/box_paint.h"
#include "objects/property_ids.h"
#include "objects/record_io.h"
#include "objects/tova_base_list.h"

namespace tova {

TTovaBox::~TTovaBox() {
    ReleaseImage();
}

void TTovaBox::ReleaseImage() {
    ShowFrame(shown_, nullptr, 255);
    if (image_ && cache_) cache_->Release(image_, this);
    image_ = nullptr;
    cache_ = nullptr;
}

void TTovaBox::Acquire(const std::string& source) {
    ReleaseImage();
    source_ = source;
    TBrioCollection* cache = Screen ? Screen->ImageCache() : nullptr;
    if (!cache || source_.empty()) return;
    image_ = &cache->Acquire(this, source_, false, false);
    cache_ = cache;
}

void TTovaBox::SetSource(const std::string& source) {
    Acquire(source);
    Invalidate();
}

void TTovaBox::Paint(TPaintContext& context) {
    const TRect bounds = GetBoundsRect();
    if (image_ && !image_->Frames.empty()) {
        const TBrioItemFrame* frame = image_->Frames.front().get();
        if (shown_.Frame != frame) ShowFrame(shown_, frame, 255);
        PaintImageFrame(context.Target.View(), context.Clip, bounds, shown_, {Alpha, TFlip::None, 0});
        return;
    }
    PaintBox(context.Target.View(), context.Clip, bounds, {Color, BorderWidth, BorderColor, Alpha});
}

void TTovaBox::GetProp(int id, TCustomParam& result) const {
    switch (id) {
        case PR_SOURCE:
            result.SetStr(source_);
            return;
        case PR_BORDERWIDTH:
            result.SetInt(BorderWidth);
            return;
        case PR_BORDERCOLOR:
            result.SetInt(BorderColor);
            return;
        case PR_ALPHA:
            result.SetInt(Alpha);
            return;
        case PR_PAUSED:
            result.SetBool(paused_);
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

void TTovaBox::SetProp(int id, const TCustomParam& value) {
    switch (id) {
        case PR_SOURCE:
            SetSource(value.GetStr());
            return;
        case PR_BORDERWIDTH:
            BorderWidth = value.GetInt();
            Invalidate();
            return;
        case PR_BORDERCOLOR:
            BorderColor = value.GetInt();
            Invalidate();
            return;
        case PR_ALPHA:
            Alpha = value.GetInt();
            Invalidate();
            return;
        case PR_PAUSED:
            paused_ = value.GetBool();
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

void TTovaBox::VisitBoxRecord(TRecordIO& io) {
    std::string source = source_;
    io.String(source);
    if (io.Reading()) Acquire(source);
    io.I32(BorderWidth);
    io.I32(BorderColor);
    io.I32(Alpha);
    io.Bool(paused_);
    io.Bool(Repeat);
    io.Bool(AutoScrap);
    io.String(OnPlayEnd);
    io.String(OnIdle);
}

void TTovaBox::SaveToStream(TStream& stream) const {
    TTovaControl::SaveToStream(stream);
    TRecordIO io(stream, TRecordIO::TMode::Write);
    const_cast<TTovaBox*>(this)->VisitBoxRecord(io);
}

void TTovaBox::LoadFromStream(TStream& stream, int32_t version) {
    TTovaControl::LoadFromStream(stream, version);
    TRecordIO io(stream, TRecordIO::TMode::Read);
    VisitBoxRecord(io);
}

}  // namespace tova
