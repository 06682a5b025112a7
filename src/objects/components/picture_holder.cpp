// A component's picture from the image cache, and the playing properties of
// picture components.
#include "objects/components/picture_holder.h"

#include <array>
#include <utility>

#include "expr/custom_param.h"
#include "graphics/brio_collection.h"
#include "objects/property_ids.h"
#include "objects/record_io.h"
#include "objects/tova_base_list.h"

namespace tova {
namespace {

// The playing properties by id, in the order of the save record.
constexpr std::array<std::pair<int, bool TPicturePlay::*>, 2> kPlayFlags = {{
    {PR_REPEAT, &TPicturePlay::Repeat},
    {PR_AUTOSCRAP, &TPicturePlay::AutoScrap},
}};
constexpr std::array<std::pair<int, std::string TPicturePlay::*>, 2> kPlayTexts = {{
    {PR_ONPLAYEND, &TPicturePlay::OnPlayEnd},
    {PR_ONIDLE, &TPicturePlay::OnIdle},
}};

// The member a table gives the id, or null.
template <typename T, size_t N>
T TPicturePlay::*PlayMember(const std::array<std::pair<int, T TPicturePlay::*>, N>& table, int id) {
    for (const auto& [entryId, member] : table)
        if (entryId == id) return member;
    return nullptr;
}

}  // namespace

TPictureHolder::~TPictureHolder() {
    Release();
}

void TPictureHolder::Release() {
    ShowFrame(shown_, nullptr, 255);
    if (image_ && cache_) cache_->Release(image_, user_);
    image_ = nullptr;
    cache_ = nullptr;
}

void TPictureHolder::Load(const TTovaBaseList* screen, const std::string& source) {
    Release();
    source_ = source;
    TBrioCollection* cache = screen ? screen->ImageCache() : nullptr;
    if (!cache || source_.empty()) return;
    image_ = &cache->Acquire(user_, source_, false, false);
    cache_ = cache;
}

int32_t TPictureHolder::FrameCount() const {
    return image_ ? static_cast<int32_t>(image_->Frames.size()) : 0;
}

const TBrioItemFrame* TPictureHolder::FrameAt(int32_t index) const {
    if (index < 0 || index >= FrameCount()) return nullptr;
    return image_->Frames[static_cast<size_t>(index)].get();
}

const TShownFrame& TPictureHolder::Show(const TBrioItemFrame* frame, int32_t brightness) const {
    ShowFrame(shown_, frame, brightness);
    return shown_;
}

void TPictureHolder::VisitSource(TRecordIO& io, const TTovaBaseList* screen) {
    std::string source = source_;
    io.String(source);
    if (io.Reading()) Load(screen, source);
}

bool TPicturePlay::GetPlayProp(int id, TCustomParam& result) const {
    if (bool TPicturePlay::*flag = PlayMember(kPlayFlags, id))
        result.SetBool(this->*flag);
    else if (std::string TPicturePlay::*text = PlayMember(kPlayTexts, id))
        result.SetStr(this->*text);
    else
        return false;
    return true;
}

bool TPicturePlay::SetPlayProp(int id, const TCustomParam& value) {
    if (bool TPicturePlay::*flag = PlayMember(kPlayFlags, id))
        this->*flag = value.GetBool();
    else if (std::string TPicturePlay::*text = PlayMember(kPlayTexts, id))
        this->*text = value.GetStr();
    else
        return false;
    return true;
}

void TPicturePlay::VisitPlayRecord(TRecordIO& io) {
    for (const auto& entry : kPlayFlags)
        io.Bool(this->*entry.second);
    for (const auto& entry : kPlayTexts)
        io.String(this->*entry.second);
}

}  // namespace tova
