#include "objects/tova_base_list.h"

#include <algorithm>

namespace tova {

TTovaObject& TTovaBaseList::AddObject(std::unique_ptr<TTovaObject> object) {
    uint32_t slot = 0;
    if (!freeSlots_.empty()) {
        slot = freeSlots_.back();
        freeSlots_.pop_back();
    } else {
        slots_.emplace_back();
        slot = static_cast<uint32_t>(slots_.size());
    }
    TSlot& entry = slots_[slot - 1];
    entry.Object = object.get();
    ++entry.Generation;
    object->handle_ = {slot, entry.Generation};
    objects_.push_back(std::move(object));
    return *objects_.back();
}

TTovaObject* TTovaBaseList::FindObject(std::string_view name) const {
    for (const auto& object : objects_)
        if (object->Name == name) return object.get();
    return nullptr;
}

TComponentHandle TTovaBaseList::FindHandle(std::string_view name) const {
    const TTovaObject* object = FindObject(name);
    return object ? object->Handle() : TComponentHandle{};
}

TTovaObject* TTovaBaseList::Resolve(TComponentHandle handle) const {
    if (handle.Slot == 0 || handle.Slot > slots_.size()) return nullptr;
    const TSlot& entry = slots_[handle.Slot - 1];
    return entry.Generation == handle.Generation ? entry.Object : nullptr;
}

std::string TTovaBaseList::NameOf(TComponentHandle handle) const {
    const TTovaObject* object = Resolve(handle);
    return object ? object->Name : std::string();
}

void TTovaBaseList::FreeSlot(const TTovaObject& object) {
    TSlot& entry = slots_[object.Handle().Slot - 1];
    entry.Object = nullptr;
    freeSlots_.push_back(object.Handle().Slot);
}

void TTovaBaseList::RemoveObject(TTovaObject& object) {
    Events.RemoveSender(object.Handle());
    FreeSlot(object);
    std::erase_if(objects_, [&object](const auto& owned) { return owned.get() == &object; });
}

void TTovaBaseList::ClearObjects() {
    for (const auto& object : objects_) {
        Events.RemoveSender(object->Handle());
        FreeSlot(*object);
    }
    objects_.clear();
}

}  // namespace tova
