// The box component: its properties, picture and save record.
#include "objects/components/tova_box.h"

#include <array>
#include <utility>

#include "expr/custom_param.h"
#include "graphics/brio_collection.h"
#include "objects/components/box_paint.h"
#include "objects/property_ids.h"
#include "objects/record_io.h"

namespace tova {
namespace {

// The properties that change only how the box is drawn.
constexpr std::array<std::pair<int, int32_t TTovaBox::*>, 3> kLookProps = {{
    {PR_BORDERWIDTH, &TTovaBox::BorderWidth},
    {PR_BORDERCOLOR, &TTovaBox::BorderColor},
    {PR_ALPHA, &TTovaBox::Alpha},
}};

}  // namespace

void TTovaBox::SetSource(const std::string& source) {
    picture_.Load(Screen, source);
    Invalidate();
}

void TTovaBox::Paint(TPaintContext& context) {
    const TRect bounds = GetBoundsRect();
    if (const TBrioItemFrame* frame = picture_.FrameAt(0)) {
        PaintImageFrame(context.Target.View(), context.Clip, bounds, picture_.Show(frame, 255),
                        {Alpha, TFlip::None, 0});
        return;
    }
    PaintBox(context.Target.View(), context.Clip, bounds, {Color, BorderWidth, BorderColor, Alpha});
}

void TTovaBox::GetProp(int id, TCustomParam& result) const {
    if (GetPlayProp(id, result)) return;
    for (const auto& [lookId, look] : kLookProps)
        if (lookId == id) return result.SetInt(this->*look);
    switch (id) {
        case PR_SOURCE:
            return result.SetStr(picture_.Source());
        case PR_PAUSED:
            return result.SetBool(paused_);
        default:
            return TTovaControl::GetProp(id, result);
    }
}

void TTovaBox::SetProp(int id, const TCustomParam& value) {
    if (SetPlayProp(id, value)) return;
    for (const auto& [lookId, look] : kLookProps) {
        if (lookId != id) continue;
        this->*look = value.GetInt();
        Invalidate();
        return;
    }
    switch (id) {
        case PR_SOURCE:
            SetSource(value.GetStr());
            return;
        case PR_PAUSED:
            paused_ = value.GetBool();
            return;
        default:
            TTovaControl::SetProp(id, value);
            return;
    }
}

void TTovaBox::VisitBoxRecord(TRecordIO& io) {
    picture_.VisitSource(io, Screen);
    io.I32(BorderWidth);
    io.I32(BorderColor);
    io.I32(Alpha);
    io.Bool(paused_);
    VisitPlayRecord(io);
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
