#include "objects/object_registry.h"

#include <algorithm>
#include <charconv>

#include "objects/tova_control.h"

namespace tova {

TObjectRegistry::~TObjectRegistry() = default;

void TObjectRegistry::GiveHandle(TTovaObject& object) {
    uint32_t slot = 0;
    if (!freeSlots_.empty()) {
        slot = freeSlots_.back();
        freeSlots_.pop_back();
    } else {
        slots_.emplace_back();
        slot = static_cast<uint32_t>(slots_.size());
    }
    TSlot& entry = slots_[slot - 1];
    entry.Object = &object;
    ++entry.Generation;
    object.handle_ = {slot, entry.Generation};
}

void TObjectRegistry::FreeHandle(TTovaObject& object) {
    const uint32_t slot = object.handle_.Slot;
    if (slot == 0 || slot > slots_.size() || slots_[slot - 1].Object != &object) return;
    slots_[slot - 1].Object = nullptr;
    freeSlots_.push_back(slot);
    object.handle_ = {};
}

void TObjectRegistry::Index(TTovaObject& object) {
    object.indexedName_ = object.Name;
    TBucket& bucket = names_[object.Name];
    const auto at =
        std::upper_bound(bucket.begin(), bucket.end(), object.serial_,
                         [](uint64_t serial, const TTovaObject* o) { return serial < o->serial_; });
    bucket.insert(at, &object);
}

void TObjectRegistry::Unindex(TTovaObject& object) {
    const auto found = names_.find(object.indexedName_);
    if (found == names_.end()) return;
    std::erase(found->second, &object);
    if (!found->second.empty()) return;
    names_.erase(found);
    // A generated name became free: the search for one starts there again.
    const std::string_view name = object.indexedName_;
    for (auto& [prefix, from] : freeFrom_) {
        if (!name.starts_with(prefix)) continue;
        const std::string_view digits = name.substr(prefix.size());
        uint64_t n = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
        const bool canonical = !digits.empty() && (digits[0] != '0' || digits.size() == 1);
        if (error == std::errc() && end == digits.data() + digits.size() && canonical && n < from) from = n;
    }
}

std::string TObjectRegistry::FreeName(std::string_view prefix) const {
    auto hint = freeFrom_.find(prefix);
    if (hint == freeFrom_.end()) hint = freeFrom_.emplace(std::string(prefix), 0).first;
    std::string name;
    for (uint64_t n = hint->second;; ++n) {
        name.assign(prefix);
        name += std::to_string(n);
        if (!Find(name)) {
            hint->second = n;
            return name;
        }
    }
}

TTovaObject& TObjectRegistry::Add(std::unique_ptr<TTovaObject> object) {
    TTovaObject& added = *object;
    GiveHandle(added);
    added.serial_ = nextSerial_++;
    objects_.push_back(std::move(object));
    Index(added);
    return added;
}

void TObjectRegistry::AddUnowned(TTovaObject& object) {
    GiveHandle(object);
}

void TObjectRegistry::ReleaseUnowned(TTovaObject& object) {
    FreeHandle(object);
}

std::unique_ptr<TTovaObject> TObjectRegistry::Take(TTovaObject& object) {
    const auto found = std::find_if(objects_.begin(), objects_.end(),
                                    [&object](const auto& owned) { return owned.get() == &object; });
    if (found == objects_.end()) return nullptr;
    const size_t index = static_cast<size_t>(found - objects_.begin());
    std::unique_ptr<TTovaObject> taken = std::move(*found);
    objects_.erase(found);
    if (index < Cursor) --Cursor;
    Unindex(object);
    FreeHandle(object);
    object.serial_ = 0;
    return taken;
}

void TObjectRegistry::Clear() {
    for (const auto& object : objects_) {
        FreeHandle(*object);
        object->serial_ = 0;
    }
    names_.clear();
    freeFrom_.clear();
    Cursor = 0;
    objects_.clear();
}

TTovaObject* TObjectRegistry::Find(std::string_view name) const {
    const auto found = names_.find(name);
    return found == names_.end() ? nullptr : found->second.front();
}

TTovaControl* TObjectRegistry::FindControl(std::string_view name) const {
    const auto found = names_.find(name);
    if (found == names_.end()) return nullptr;
    for (TTovaObject* object : found->second)
        if (TTovaControl* control = object->AsControl()) return control;
    return nullptr;
}

TTovaObject* TObjectRegistry::Resolve(TComponentHandle handle) const {
    if (handle.Slot == 0 || handle.Slot > slots_.size()) return nullptr;
    const TSlot& entry = slots_[handle.Slot - 1];
    return entry.Generation == handle.Generation ? entry.Object : nullptr;
}

void TObjectRegistry::Renamed(TTovaObject& object) {
    if (object.serial_ == 0) return;  // not owned here (a layer)
    Unindex(object);
    Index(object);
}

int TObjectRegistry::IndexOfName(std::string_view name) const {
    const TTovaObject* object = Find(name);
    if (!object) return -1;
    for (size_t i = 0; i < objects_.size(); ++i)
        if (objects_[i].get() == object) return static_cast<int>(i);
    return -1;
}

}  // namespace tova
