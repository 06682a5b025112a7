#include "expr/param_system.h"

#include "core/error.h"
#include "expr/param_collection.h"
#include "expr/system_variable_host.h"
#include "expr/system_variable_names.h"

namespace tova {

TCustomParam* TParamSystem::Resolve() const {
    if (SysIndex >= kSystemVariableCount) throw ETovaError::Format("内部エラー");
    return owner_.SystemHost().Resolve(SysIndex);
}

int TParamSystem::GetCount() const {
    const TCustomParam* v = Resolve();
    return v ? v->GetCount() : TCustomParam::GetCount();
}

void TParamSystem::SetCount(int count) {
    if (TCustomParam* v = Resolve()) v->SetCount(count);
}

int TParamSystem::GetParamType() const {
    const TCustomParam* v = Resolve();
    return v ? v->GetParamType() : TCustomParam::GetParamType();
}

bool TParamSystem::GetBool() const {
    const TCustomParam* v = Resolve();
    return v ? v->GetBool() : TCustomParam::GetBool();
}

long double TParamSystem::GetFloat() const {
    const TCustomParam* v = Resolve();
    return v ? v->GetFloat() : TCustomParam::GetFloat();
}

int32_t TParamSystem::GetInt() const {
    const TCustomParam* v = Resolve();
    return v ? v->GetInt() : TCustomParam::GetInt();
}

std::string TParamSystem::GetStr() const {
    const TCustomParam* v = Resolve();
    return v ? v->GetStr() : TCustomParam::GetStr();
}

void TParamSystem::SetBool(bool value) {
    if (TCustomParam* v = Resolve()) v->SetBool(value);
}

void TParamSystem::SetFloat(long double value) {
    if (TCustomParam* v = Resolve()) v->SetFloat(value);
}

void TParamSystem::SetInt(int32_t value) {
    if (TCustomParam* v = Resolve()) v->SetInt(value);
}

void TParamSystem::SetStr(std::string_view value) {
    if (TCustomParam* v = Resolve()) v->SetStr(value);
}

int32_t TParamSystem::GetIntAt(int index) const {
    const TCustomParam* v = Resolve();
    return v ? v->GetIntAt(index) : TCustomParam::GetIntAt(index);
}

void TParamSystem::SetIntAt(int index, int32_t value) {
    if (TCustomParam* v = Resolve()) v->SetIntAt(index, value);
}

long double TParamSystem::GetFloatAt(int index) const {
    const TCustomParam* v = Resolve();
    return v ? v->GetFloatAt(index) : TCustomParam::GetFloatAt(index);
}

void TParamSystem::SetFloatAt(int index, long double value) {
    if (TCustomParam* v = Resolve()) v->SetFloatAt(index, value);
}

bool TParamSystem::GetBoolAt(int index) const {
    const TCustomParam* v = Resolve();
    return v ? v->GetBoolAt(index) : TCustomParam::GetBoolAt(index);
}

void TParamSystem::SetBoolAt(int index, bool value) {
    if (TCustomParam* v = Resolve()) v->SetBoolAt(index, value);
}

std::string TParamSystem::GetStrAt(int index) const {
    const TCustomParam* v = Resolve();
    return v ? v->GetStrAt(index) : TCustomParam::GetStrAt(index);
}

void TParamSystem::SetStrAt(int index, std::string_view value) {
    if (TCustomParam* v = Resolve()) v->SetStrAt(index, value);
}

int TParamSystem::GetDimCount() const {
    const TCustomParam* v = Resolve();
    return v ? v->GetDimCount() : TCustomParam::GetDimCount();
}

int TParamSystem::GetDimSize(int dim) const {
    const TCustomParam* v = Resolve();
    return v ? v->GetDimSize(dim) : TCustomParam::GetDimSize(dim);
}

int TParamSystem::IndexOfStr(std::string_view s, bool caseSensitive, bool partial) const {
    const TCustomParam* v = Resolve();
    return v ? v->IndexOfStr(s, caseSensitive, partial) : TCustomParam::IndexOfStr(s, caseSensitive, partial);
}

}  // namespace tova
