#include "expr/param_var.h"

#include "core/binary_io.h"
#include "expr/param_collection.h"

namespace tova {

bool TParamVar::Bind(TParamCollectionItem* target) {
    target_ = nullptr;
    // Refuse a cycle: following the chain from target must not arrive here.
    // Every binding is checked, so the chain itself has no cycle and ends.
    for (const TCustomParam* step = target ? &target->Value() : nullptr; step;) {
        if (step == this) return false;
        // Only a reference stores no type of its own (a cheaper test than a cast).
        const auto* ref = step->StoredType() == PT_NONE ? static_cast<const TParamVar*>(step) : nullptr;
        step = ref && ref->target_ ? &ref->target_->Value() : nullptr;
    }
    target_ = target;
    return target_ != nullptr;
}

bool TParamVar::BindElement(TParamCollectionItem* target, int32_t elementIndex) {
    ElementIndex = elementIndex;
    return Bind(target);
}

TCustomParam* TParamVar::ForwardTarget() const {
    return target_ ? &target_->Value() : nullptr;
}

int TParamVar::GetCount() const {
    const TCustomParam* v = ForwardTarget();
    return v ? v->GetCount() : 0;
}

int TParamVar::GetParamType() const {
    const TCustomParam* v = ForwardTarget();
    return v ? v->GetParamType() : PT_NONE;
}

bool TParamVar::GetBool() const {
    return GetBoolAt(ElementIndex);
}
long double TParamVar::GetFloat() const {
    return GetFloatAt(ElementIndex);
}
int32_t TParamVar::GetInt() const {
    return GetIntAt(ElementIndex);
}
std::string TParamVar::GetStr() const {
    return GetStrAt(ElementIndex);
}
void TParamVar::SetBool(bool value) {
    SetBoolAt(ElementIndex, value);
}
void TParamVar::SetFloat(long double value) {
    SetFloatAt(ElementIndex, value);
}
void TParamVar::SetInt(int32_t value) {
    SetIntAt(ElementIndex, value);
}
void TParamVar::SetStr(std::string_view value) {
    SetStrAt(ElementIndex, value);
}

int TParamVar::GetDimCount() const {
    const TCustomParam* v = ForwardTarget();
    return v ? v->GetDimCount() : 0;
}

int TParamVar::GetDimSize(int dim) const {
    const TCustomParam* v = ForwardTarget();
    return v ? v->GetDimSize(dim) : 0;
}

void TParamVar::SaveToStream(TStream& stream) const {
    TCustomParam::SaveToStream(stream);
    WriteString(stream, TargetName);
    WriteString(stream, target_ ? target_->GetName() : std::string());
    WriteU8(stream, RefFlag);
    WriteI32(stream, ElementIndex);
}

void TParamVar::LoadFromStream(TStream& stream) {
    TCustomParam::LoadFromStream(stream);
    std::string targetName = ReadString(stream);
    const std::string boundName = ReadString(stream);
    const uint8_t refFlag = ReadU8(stream);
    const int32_t elementIndex = ReadI32(stream);
    TargetName = std::move(targetName);
    RefFlag = refFlag;
    ElementIndex = elementIndex;
    Bind(lookup_ && !boundName.empty() ? lookup_->FindItem(boundName) : nullptr);
}

int TParamVar::IndexOfStr(std::string_view s, bool caseSensitive, bool partial) const {
    const TCustomParam* v = ForwardTarget();
    return v ? v->IndexOfStr(s, caseSensitive, partial) : -1;
}

}  // namespace tova
