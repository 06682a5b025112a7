// The creation path every creation command shares: the component made on the
// screen, then the properties of the slots the page carries, read in their
// kinds with the table's defaults and given to the component in the fixed
// order, with the few rules that are not plain setters (the parent, the size
// of self-sizing pictures before their position, the font styles).
#include <memory>

#include "engine/call_man.h"
#include "engine/command_component.h"
#include "engine/command_names.h"
#include "engine/creation_properties.h"
#include "expr/custom_param.h"
#include "expr/param_factory.h"
#include "expr/param_types.h"
#include "objects/components/tova_custom_image.h"
#include "objects/property_access.h"
#include "objects/property_ids.h"
#include "objects/tova_base.h"
#include "objects/tova_base_list.h"
#include "objects/tova_control.h"

namespace tova {
namespace {

// The script's font style number as the components keep it: bold 1, italic
// 2, underline 4, strike-out 8; other bits mean nothing.
constexpr int32_t kFontStyleBits = 0x0F;

// The value of a present slot in the property's kind; the table's default
// when the expression yields none.
std::unique_ptr<TCustomParam> SlotValue(TCallMan& callMan, TTovaParser& slot,
                                        const TCreationProperty& property) {
    const TCustomParam* value = callMan.Evaluate(slot);
    switch (property.Kind) {
        case TCreationKind::Integer: {
            auto param = CreateParam(PT_INT);
            param->SetInt(value ? value->GetInt() : property.Default);
            return param;
        }
        case TCreationKind::Boolean: {
            auto param = CreateParam(PT_BOOL);
            param->SetBool(value ? value->GetBool() : property.Default != 0);
            return param;
        }
        case TCreationKind::Real: {
            auto param = CreateParam(PT_FLOAT);
            param->SetFloat(value ? value->GetFloat() : 0.0L);
            return param;
        }
        case TCreationKind::String: {
            auto param = CreateParam(PT_STR);
            if (value) param->SetStr(value->GetStr());
            return param;
        }
        case TCreationKind::None:
            break;
    }
    return nullptr;
}

// PR_PARENT at creation: the named control, the current layer for an empty
// name, a name that names nothing, a parent nested too deep and for no slot
// at all.
void PlaceOnParent(TTovaBaseList& screen, TTovaControl& control, const std::string& parentName) {
    TTovaControl* parent = parentName.empty() ? nullptr : screen.FindControl(parentName);
    const TReparent placed = parent ? control.SetParent(parent) : TReparent::Unchanged;
    if (placed == TReparent::TooDeep) screen.NoteTooDeep(control, *parent);
    if (placed != TReparent::Moved && !control.Parent()) control.SetParent(&screen.CurrentLayer());
}

}  // namespace

TTovaObject* TComComponent::CreateAndApply(TCallMan& callMan, int32_t& pc, int typeCode) {
    ++pc;
    TTovaBaseList& screen = callMan.Screen();
    TTovaObject* object = screen.CreateComponent(typeCode);
    if (!object) {
        callMan.Note(std::string(CommandScriptName(GetCode())) + ": the component is not available yet");
        return nullptr;
    }
    HandOver(*object);
    // Expressions cannot free components (no handler runs inside a command),
    // so the object stays valid through the walk.
    TTovaControl* control = object->AsControl();
    for (const int id : CreationOrder()) {
        if (id == PR_PARENT) {
            if (!control) continue;
            TTovaParser* slot = Property(id);
            const TCustomParam* value = slot ? callMan.Evaluate(*slot) : nullptr;
            PlaceOnParent(screen, *control, value ? value->GetStr() : std::string());
            continue;
        }
        TTovaParser* slot = Property(id);
        const TCreationProperty& property = CreationProperty(id);
        if (!slot || property.Kind == TCreationKind::None) continue;
        const std::unique_ptr<TCustomParam> value = SlotValue(callMan, *slot, property);
        if (id == PR_FONTSTYLE || id == PR_FONTHOVERSTYLE) value->SetInt(value->GetInt() & kFontStyleBits);
        // A picture that sizes itself takes its size before it is placed.
        if (id == PR_LEFT)
            if (auto* image = dynamic_cast<TTovaCustomImage*>(object)) image->SizeFromPicture();
        SetProperty(*object, id, *value);
    }
    return object;
}

}  // namespace tova
