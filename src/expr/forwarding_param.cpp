#include "expr/forwarding_param.h"

namespace tova {

void TForwardingParam::AssignRaw(const TCustomParam& src) {
    if (TCustomParam* v = ForwardTarget()) v->AssignRaw(src);
}

void TForwardingParam::SetDims(const TDynamicIntArray& dims) {
    if (TCustomParam* v = ForwardTarget()) v->SetDims(dims);
}

void TForwardingParam::FillInt(int32_t value) {
    if (TCustomParam* v = ForwardTarget()) v->FillInt(value);
}

void TForwardingParam::FillFloat(long double value) {
    if (TCustomParam* v = ForwardTarget()) v->FillFloat(value);
}

void TForwardingParam::FillBool(bool value) {
    if (TCustomParam* v = ForwardTarget()) v->FillBool(value);
}

void TForwardingParam::FillStr(std::string_view value) {
    if (TCustomParam* v = ForwardTarget()) v->FillStr(value);
}

void TForwardingParam::CopyMem(const TCustomParam& src) {
    if (TCustomParam* v = ForwardTarget()) v->CopyMem(src);
}

void TForwardingParam::MakeScalar() {
    if (TCustomParam* v = ForwardTarget()) v->MakeScalar();
}

}  // namespace tova
