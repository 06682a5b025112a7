#include "objects/screen_component_role.h"

#include "objects/property_access.h"
#include "objects/tova_base.h"
#include "objects/tova_base_list.h"
#include "objects/tova_control.h"

namespace tova {

TTovaObject* TScreenComponentRole::Find(std::string_view name) const {
    return name.empty() ? nullptr : screen_.FindObject(name);
}

std::optional<int> TScreenComponentRole::ComponentType(std::string_view name) {
    const TTovaObject* object = Find(name);
    if (!object) return std::nullopt;
    return object->TypeCode();
}

void TScreenComponentRole::GetProperty(std::string_view name, int id, TCustomParam& result) {
    if (const TTovaObject* object = Find(name)) tova::GetProperty(*object, id, result);
}

bool TScreenComponentRole::SetProperty(std::string_view name, int id, const TCustomParam& value) {
    TTovaObject* object = Find(name);
    if (!object) return false;
    tova::SetProperty(*object, id, value);
    return TakesProperty(*object, id);
}

std::optional<std::pair<int32_t, int32_t>> TScreenComponentRole::ScreenOrigin(std::string_view name) {
    TTovaObject* object = Find(name);
    const TTovaControl* control = object ? object->AsControl() : nullptr;
    if (!control) return std::nullopt;
    int32_t x = 0;
    int32_t y = 0;
    control->ClientToScreen(x, y);
    return std::pair{x, y};
}

bool TScreenComponentRole::InCabinet(std::string_view name) {
    const TTovaObject* object = Find(name);
    return object && object->InCabinet();
}

bool TScreenComponentRole::InPrimary(std::string_view name) {
    const TTovaObject* object = Find(name);
    const TTovaControl* control = object ? object->AsControl() : nullptr;
    return control && control->GetLayer() == &screen_.CurrentLayer() && !control->InCabinet();
}

std::vector<TComponentEntry> TScreenComponentRole::ScreenComponents() {
    std::vector<TComponentEntry> entries;
    for (size_t i = 0; i < screen_.ObjectCount(); ++i) {
        const TTovaObject& object = screen_.Object(i);
        if (!screen_.IsScheduledForDeletion(object)) entries.push_back({object.Name, object.TypeCode()});
    }
    return entries;
}

std::optional<std::vector<TComponentEntry>> TScreenComponentRole::ChildComponents(std::string_view name) {
    TTovaObject* object = Find(name);
    if (!object) return std::nullopt;
    std::vector<TComponentEntry> entries;
    if (const TTovaControl* control = object->AsControl())
        for (const TTovaControl* child : control->Children())
            entries.push_back({child->Name, child->TypeCode()});
    return entries;
}

}  // namespace tova
