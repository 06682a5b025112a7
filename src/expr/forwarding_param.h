// The common part of the values that have no elements of their own but stand
// for another value (references, system variables): every operation goes to
// that value unchanged; without one, reads answer what a value without
// storage answers and writes do nothing.
//
// Self names the value through its ForwardTarget(), called directly rather
// than through the vtable: references are read on every evaluation step.
#pragma once

#include "expr/custom_param.h"

namespace tova {

template <class Self>
class TForwardingParam : public TCustomParam {
public:
    int GetCount() const override {
        const TCustomParam* v = Forwarded();
        return v ? v->GetCount() : TCustomParam::GetCount();
    }
    void SetCount(int count) override {
        if (TCustomParam* v = Forwarded()) v->SetCount(count);
    }
    int GetParamType() const override {
        const TCustomParam* v = Forwarded();
        return v ? v->GetParamType() : TCustomParam::GetParamType();
    }

    bool GetBool() const override {
        const TCustomParam* v = Forwarded();
        return v ? v->GetBool() : TCustomParam::GetBool();
    }
    void SetBool(bool value) override {
        if (TCustomParam* v = Forwarded()) v->SetBool(value);
    }
    long double GetFloat() const override {
        const TCustomParam* v = Forwarded();
        return v ? v->GetFloat() : TCustomParam::GetFloat();
    }
    void SetFloat(long double value) override {
        if (TCustomParam* v = Forwarded()) v->SetFloat(value);
    }
    int32_t GetInt() const override {
        const TCustomParam* v = Forwarded();
        return v ? v->GetInt() : TCustomParam::GetInt();
    }
    void SetInt(int32_t value) override {
        if (TCustomParam* v = Forwarded()) v->SetInt(value);
    }
    std::string GetStr() const override {
        const TCustomParam* v = Forwarded();
        return v ? v->GetStr() : TCustomParam::GetStr();
    }
    void SetStr(std::string_view value) override {
        if (TCustomParam* v = Forwarded()) v->SetStr(value);
    }

    int32_t GetIntAt(int index) const override {
        const TCustomParam* v = Forwarded();
        return v ? v->GetIntAt(index) : TCustomParam::GetIntAt(index);
    }
    void SetIntAt(int index, int32_t value) override {
        if (TCustomParam* v = Forwarded()) v->SetIntAt(index, value);
    }
    long double GetFloatAt(int index) const override {
        const TCustomParam* v = Forwarded();
        return v ? v->GetFloatAt(index) : TCustomParam::GetFloatAt(index);
    }
    void SetFloatAt(int index, long double value) override {
        if (TCustomParam* v = Forwarded()) v->SetFloatAt(index, value);
    }
    bool GetBoolAt(int index) const override {
        const TCustomParam* v = Forwarded();
        return v ? v->GetBoolAt(index) : TCustomParam::GetBoolAt(index);
    }
    void SetBoolAt(int index, bool value) override {
        if (TCustomParam* v = Forwarded()) v->SetBoolAt(index, value);
    }
    std::string GetStrAt(int index) const override {
        const TCustomParam* v = Forwarded();
        return v ? v->GetStrAt(index) : TCustomParam::GetStrAt(index);
    }
    void SetStrAt(int index, std::string_view value) override {
        if (TCustomParam* v = Forwarded()) v->SetStrAt(index, value);
    }

    int GetDimCount() const override {
        const TCustomParam* v = Forwarded();
        return v ? v->GetDimCount() : TCustomParam::GetDimCount();
    }
    int GetDimSize(int dim) const override {
        const TCustomParam* v = Forwarded();
        return v ? v->GetDimSize(dim) : TCustomParam::GetDimSize(dim);
    }
    int IndexOfStr(std::string_view s, bool caseSensitive, bool partial) const override {
        const TCustomParam* v = Forwarded();
        return v ? v->IndexOfStr(s, caseSensitive, partial)
                 : TCustomParam::IndexOfStr(s, caseSensitive, partial);
    }

    void AssignRaw(const TCustomParam& src) override {
        if (TCustomParam* v = Forwarded()) v->AssignRaw(src);
    }
    void SetDims(const TDynamicIntArray& dims) override {
        if (TCustomParam* v = Forwarded()) v->SetDims(dims);
    }
    void FillInt(int32_t value) override {
        if (TCustomParam* v = Forwarded()) v->FillInt(value);
    }
    void FillFloat(long double value) override {
        if (TCustomParam* v = Forwarded()) v->FillFloat(value);
    }
    void FillBool(bool value) override {
        if (TCustomParam* v = Forwarded()) v->FillBool(value);
    }
    void FillStr(std::string_view value) override {
        if (TCustomParam* v = Forwarded()) v->FillStr(value);
    }
    void CopyMem(const TCustomParam& src) override {
        if (TCustomParam* v = Forwarded()) v->CopyMem(src);
    }
    void MakeScalar() override {
        if (TCustomParam* v = Forwarded()) v->MakeScalar();
    }

protected:
    TForwardingParam() = default;

private:
    // The value this one stands for right now, or null.
    TCustomParam* Forwarded() const { return static_cast<const Self*>(this)->ForwardTarget(); }
};

}  // namespace tova
