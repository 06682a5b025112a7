#include "objects/tova_base_list.h"

#include <algorithm>

namespace tova {

TTovaObject& TTovaBaseList::AddObject(std::unique_ptr<TTovaObject> object) {
    objects_.push_back(std::move(object));
    return *objects_.back();
}

TTovaObject* TTovaBaseList::FindObject(std::string_view name) const {
    for (const auto& object : objects_)
        if (object->Name == name) return object.get();
    return nullptr;
}

bool TTovaBaseList::Contains(const TTovaObject* object) const {
    return object && std::any_of(objects_.begin(), objects_.end(),
                                 [object](const auto& owned) { return owned.get() == object; });
}

std::string TTovaBaseList::NameOf(const TTovaObject* object) const {
    return Contains(object) ? object->Name : std::string();
}

void TTovaBaseList::RemoveObject(TTovaObject& object) {
    Events.RemoveSender(&object);
    std::erase_if(objects_, [&object](const auto& owned) { return owned.get() == &object; });
}

void TTovaBaseList::ClearObjects() {
    for (const auto& object : objects_)
        Events.RemoveSender(object.get());
    objects_.clear();
}

}  // namespace tova
