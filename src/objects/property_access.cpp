#include "objects/property_access.h"

#include <memory>

#include "core/error.h"
#include "expr/custom_param.h"
#include "expr/param_factory.h"
#include "expr/property_types.h"
#include "objects/property_ids.h"
#include "objects/tova_base_list.h"

namespace tova {

void GetProperty(const TTovaObject& object, int id, TCustomParam& result) {
    if (id < 0 || id >= kPropertyCount) throw ETovaError::Format("GetPropエラー");
    switch (id) {
        case PR_NAME:
            return result.SetStr(object.Name);
        case PR_TAG:
            return result.SetStr(object.Tag);
        case PR_PRIORITY:
            return result.SetInt(object.Priority);
        case PR_APPEARX:
        case PR_APPEARY:
            return result.SetInt(0);
        default:
            break;
    }
    const std::unique_ptr<TCustomParam> value = CreateParam(PropertyValueType(id));
    if (object.AcceptsProperty(id))
        object.GetProp(id, *value);
    else if ((id == PR_ORIGWIDTH || id == PR_ORIGHEIGHT) && object.AcceptsProperty(PR_WIDTH))
        object.GetProp(id == PR_ORIGWIDTH ? PR_WIDTH : PR_HEIGHT, *value);
    else
        NeutralDefault(id, *value);
    switch (PropertyValueType(id)) {
        case PT_STR:
            return result.SetStr(value->GetStr());
        case PT_BOOL:
            return result.SetBool(value->GetBool());
        case PT_FLOAT:
            return result.SetFloat(value->GetFloat());
        default:
            return result.SetInt(value->GetInt());
    }
}

bool TakesProperty(const TTovaObject& object, int id) {
    return !IsReadOnlyProperty(id) && object.AcceptsProperty(id);
}

void SetProperty(TTovaObject& object, int id, const TCustomParam& value) {
    if (id < 0 || id >= kPropertyCount || id == PR_APPEARX || id == PR_APPEARY)
        throw ETovaError::Format("SetPropエラー");
    if (IsReadOnlyProperty(id) || !object.AcceptsProperty(id)) return;
    if (id == PR_PRIORITY) return object.SetPriority(value.GetInt());
    if (id == PR_PARENT) {
        TTovaControl* control = object.AsControl();
        if (!control || !object.Screen || control->GetLayer() == control) return;
        if (TTovaControl* parent = object.Screen->FindControl(value.GetStr()))
            if (control->SetParent(parent) == TReparent::TooDeep)
                object.Screen->NoteTooDeep(*control, *parent);
        return;
    }
    const std::unique_ptr<TCustomParam> converted = CreateParam(PropertyValueType(id));
    switch (PropertyValueType(id)) {
        case PT_STR:
            converted->SetStr(value.GetStr());
            break;
        case PT_BOOL:
            converted->SetBool(value.GetBool());
            break;
        case PT_FLOAT:
            converted->SetFloat(value.GetFloat());
            break;
        default:
            converted->SetInt(value.GetInt());
            break;
    }
    object.SetProp(id, *converted);
}

}  // namespace tova
