// The frame animation of picture components, their frame properties and
// their part of the save record.
#include "objects/components/tova_custom_images.h"

#include <algorithm>

#include "expr/custom_param.h"
#include "expr/tova_parser.h"
#include "graphics/brio_collection.h"
#include "objects/components/tova_motion.h"
#include "objects/property_ids.h"
#include "objects/record_io.h"
#include "objects/tova_base_list.h"

namespace tova {

TTovaCustomImages::TTovaCustomImages() = default;
TTovaCustomImages::~TTovaCustomImages() = default;

void TTovaCustomImages::SetLastFrameExpression(std::unique_ptr<TTovaParser> expression) {
    lastFrame_ = std::move(expression);
}

int32_t TTovaCustomImages::LastFrameExtra() {
    TOpeEvaluator* evaluator = Screen ? Screen->Evaluator() : nullptr;
    if (!lastFrame_ || !evaluator) return 0;
    lastFrame_->Execute(*evaluator);
    return lastFrame_->Result ? lastFrame_->Result->GetInt() : 0;
}

void TTovaCustomImages::AddWait(int64_t milliseconds) {
    Wait =
        static_cast<int32_t>(std::clamp<int64_t>(int64_t{Wait} + milliseconds, INT32_MIN / 2, INT32_MAX / 2));
}

TTovaMotion* TTovaCustomImages::FilmMotion() const {
    return dynamic_cast<TTovaMotion*>(GetMotion());
}

void TTovaCustomImages::SetIndex(int32_t index) {
    if (TTovaMotion* motion = FilmMotion()) {
        motion->SeekFrame(index);
        return;
    }
    Invalidate();
    FrameIndex = index;
    endReported_ = false;
    const int32_t count = FrameCount();
    if (const TBrioItemFrame* frame = FrameAt(index)) {
        AddWait(frame->Delay);
        if (index == count - 1 && count > 1) AddWait(LastFrameExtra());
        // Frames of different sizes resize the component (this redraws the
        // old and the new area).
        SizeFromPicture();
    }
    Invalidate();
}

void TTovaCustomImages::SourceLoaded() {
    Wait = 0;
    FrameIndex = -1;
    if (FrameCount() > 0)
        SetIndex(0);
    else
        SizeFromPicture();
}

bool TTovaCustomImages::Playing() const {
    if (const TTovaMotion* motion = FilmMotion()) return !paused_ && !AniPaused && motion->Running();
    const int32_t count = FrameCount();
    if (paused_ || AniPaused || FrameIndex < 0 || FrameIndex >= count) return false;
    return Repeat || FrameIndex < count - 1 || Wait >= 1;
}

bool TTovaCustomImages::Step(int32_t frameMs) {
    const bool goesOn = TTovaCustomImage::Step(frameMs);
    if (FilmMotion()) return goesOn;
    const int32_t count = FrameCount();
    if (FrameIndex < 0 || FrameIndex >= count || !Visible || paused_ || AniPaused) return goesOn;
    if (Wait > 0) AddWait(-int64_t{frameMs});
    // Each pass moves on by one frame or ends, so the walk ends within the
    // frame count however short the delays are.
    while (Wait < 1) {
        if (FrameIndex < count - 1) {
            if (count <= 2) Wait = 0;
            SetIndex(FrameIndex + 1);
            continue;
        }
        if (Repeat) {
            Wait = 0;
            SetIndex(0);
        } else if (AutoScrap) {
            return false;
        } else if (!endReported_) {
            endReported_ = true;
            QueueEvent(OnPlayEnd, PR_ONPLAYEND);
        }
        break;
    }
    return goesOn;
}

void TTovaCustomImages::GetProp(int id, TCustomParam& result) const {
    switch (id) {
        case PR_INDEX: {
            const TTovaMotion* motion = FilmMotion();
            result.SetInt(motion ? motion->Frame : FrameIndex);
            return;
        }
        case PR_COUNT: {
            const TTovaMotion* motion = FilmMotion();
            result.SetInt(motion ? motion->Film().FrameCount() : FrameCount());
            return;
        }
        case PR_PLAYING:
            result.SetBool(Playing());
            return;
        case PR_BRIGHTNESS:
            result.SetInt(Brightness);
            return;
        case PR_PAUSED:
            result.SetBool(paused_);
            return;
        default:
            TTovaCustomImage::GetProp(id, result);
            return;
    }
}

void TTovaCustomImages::SetProp(int id, const TCustomParam& value) {
    switch (id) {
        case PR_INDEX:
            SetIndex(value.GetInt());
            return;
        case PR_BRIGHTNESS:
            Brightness = value.GetInt();
            Invalidate();
            return;
        case PR_PAUSED:
            if (value.GetBool() != paused_) {
                paused_ = value.GetBool();
                Wait = 0;
            }
            return;
        case PR_VISIBLE:
            if (value.GetBool() != Visible) {
                TTovaCustomImage::SetProp(id, value);
                Wait = 0;
            }
            return;
        default:
            TTovaCustomImage::SetProp(id, value);
            return;
    }
}

void TTovaCustomImages::VisitFramesRecord(TRecordIO& io) {
    io.I32(Wait);
    io.I32(FrameIndex);
    io.I32(Brightness);
    io.Bool(paused_);
    if (io.Reading()) {
        auto expression = std::make_unique<TTovaParser>();
        expression->LoadFromStream(io.Stream());
        lastFrame_ = expression->Records().empty() ? nullptr : std::move(expression);
        endReported_ = false;
    } else if (lastFrame_) {
        lastFrame_->SaveToStream(io.Stream());
    } else {
        TTovaParser().SaveToStream(io.Stream());
    }
}

void TTovaCustomImages::SaveToStream(TStream& stream) const {
    TTovaCustomImage::SaveToStream(stream);
    TRecordIO io(stream, TRecordIO::TMode::Write);
    const_cast<TTovaCustomImages*>(this)->VisitFramesRecord(io);
}

void TTovaCustomImages::LoadFromStream(TStream& stream, int32_t version) {
    TTovaCustomImage::LoadFromStream(stream, version);
    TRecordIO io(stream, TRecordIO::TMode::Read);
    VisitFramesRecord(io);
}

}  // namespace tova
