// One named variable of the collection: it owns its value and forwards the
// value operations to it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/hash_collection.h"
#include "expr/custom_param.h"

namespace tova {

class TParamCollectionItem final : public THashCollectionItem {
public:
    explicit TParamCollectionItem(std::unique_ptr<TCustomParam> value) : value_(std::move(value)) {}

    TCustomParam& Value() const { return *value_; }
    // Replaces the value by a fresh one of typeCode (see CreateParam); an
    // unknown code raises "内部エラー" and keeps the value.
    void SetType(int typeCode);

    // The name must be non-empty, contain no half-width space and not start
    // with an ASCII digit ("\"%s\"：変数名が不正です" otherwise).
    void SetName(std::string name);
    static void CheckName(std::string_view name);

    bool IsSystem() const { return value_->StoredType() == PT_SYSTEM; }

    int GetCount() const { return value_->GetCount(); }
    int GetParamType() const { return value_->GetParamType(); }
    bool GetBool() const { return value_->GetBool(); }
    long double GetFloat() const { return value_->GetFloat(); }
    int32_t GetInt() const { return value_->GetInt(); }
    std::string GetStr() const { return value_->GetStr(); }
    void SetBool(bool v) { value_->SetBool(v); }
    void SetFloat(long double v) { value_->SetFloat(v); }
    void SetInt(int32_t v) { value_->SetInt(v); }
    void SetStr(std::string_view v) { value_->SetStr(v); }
    int32_t GetIntAt(int i) const { return value_->GetIntAt(i); }
    void SetIntAt(int i, int32_t v) { value_->SetIntAt(i, v); }
    long double GetFloatAt(int i) const { return value_->GetFloatAt(i); }
    void SetFloatAt(int i, long double v) { value_->SetFloatAt(i, v); }
    bool GetBoolAt(int i) const { return value_->GetBoolAt(i); }
    void SetBoolAt(int i, bool v) { value_->SetBoolAt(i, v); }
    std::string GetStrAt(int i) const { return value_->GetStrAt(i); }
    void SetStrAt(int i, std::string_view v) { value_->SetStrAt(i, v); }
    int GetDimCount() const { return value_->GetDimCount(); }
    int GetDimSize(int d) const { return value_->GetDimSize(d); }
    void SetDims(const TDynamicIntArray& dims) { value_->SetDims(dims); }
    void FillInt(int32_t v) { value_->FillInt(v); }
    void FillFloat(long double v) { value_->FillFloat(v); }
    void FillBool(bool v) { value_->FillBool(v); }
    void FillStr(std::string_view v) { value_->FillStr(v); }
    void CopyMem(const TCustomParam& src) { value_->CopyMem(src); }
    int IndexOfStr(std::string_view s, bool caseSensitive, bool partial) const {
        return value_->IndexOfStr(s, caseSensitive, partial);
    }
    void AssignConverted(const TCustomParam& src) { value_->AssignConverted(src); }

    uint8_t Reserved = 0;    // kept with the variable, no other use
    uint8_t StatusFlag = 0;  // 1 for a status variable
    int32_t Owner = -1;      // the call depth whose return destroys it, -1 for none
    uint8_t LocalFlag = 0;   // 1 for a local, visible only at depth Owner

private:
    std::unique_ptr<TCustomParam> value_;
};

}  // namespace tova
