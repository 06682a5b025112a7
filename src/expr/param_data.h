// The four data classes: a flat array of elements of one type, with the
// dimension list of the base class giving its shape. A new value is a scalar
// holding the default element.
#pragma once

#include <string>
#include <vector>

#include "expr/custom_param.h"

namespace tova {

// What one element type needs: its storage, its conversions and its stored form.
struct TIntElement {
    using Type = int32_t;
    static constexpr int Code = PT_INT;
    static constexpr int64_t MinStoredSize = 4;
};
struct TFloatElement {
    using Type = long double;
    static constexpr int Code = PT_FLOAT;
    static constexpr int64_t MinStoredSize = 10;
};
struct TFlagElement {
    using Type = uint8_t;  // 0 or 1
    static constexpr int Code = PT_BOOL;
    static constexpr int64_t MinStoredSize = 1;
};
struct TStrElement {
    using Type = std::string;
    static constexpr int Code = PT_STR;
    static constexpr int64_t MinStoredSize = 4;
};

template <class Element>
class TTypedParam : public TCustomParam {
public:
    using T = typename Element::Type;

    TTypedParam() : Items(1) {}

    int StoredType() const override { return Element::Code; }
    int GetCount() const override { return static_cast<int>(Items.size()); }
    // Keeps the existing prefix; new elements get the default.
    void SetCount(int count) override;
    int GetParamType() const override { return Element::Code; }

    bool GetBool() const override { return GetBoolAt(0); }
    long double GetFloat() const override { return GetFloatAt(0); }
    int32_t GetInt() const override { return GetIntAt(0); }
    std::string GetStr() const override { return GetStrAt(0); }
    // A scalar write turns an array into a scalar first.
    void SetBool(bool value) override;
    void SetFloat(long double value) override;
    void SetInt(int32_t value) override;
    void SetStr(std::string_view value) override;

    // An index outside the elements raises "配列の添字が不正です".
    int32_t GetIntAt(int index) const override;
    void SetIntAt(int index, int32_t value) override;
    long double GetFloatAt(int index) const override;
    void SetFloatAt(int index, long double value) override;
    bool GetBoolAt(int index) const override;
    void SetBoolAt(int index, bool value) override;
    std::string GetStrAt(int index) const override;
    void SetStrAt(int index, std::string_view value) override;

    void AssignRaw(const TCustomParam& src) override;
    // Each class fills only from its own type; the other fills do nothing.
    void FillInt(int32_t value) override;
    void FillFloat(long double value) override;
    void FillBool(bool value) override;
    void FillStr(std::string_view value) override;
    // src must be of the same class ("CopyMem:変数の型があいません").
    void CopyMem(const TCustomParam& src) override;
    void SaveToStream(TStream& stream) const override;
    void LoadFromStream(TStream& stream) override;
    void MakeScalar() override;
    int IndexOfStr(std::string_view s, bool caseSensitive, bool partial) const override;

    std::vector<T> Items;

private:
    const T& At(int index) const;
    T& At(int index);
    const TTypedParam& SameClass(const TCustomParam& src, const char* utf8Message) const;
};

extern template class TTypedParam<TIntElement>;
extern template class TTypedParam<TFloatElement>;
extern template class TTypedParam<TFlagElement>;
extern template class TTypedParam<TStrElement>;

class TParamInt final : public TTypedParam<TIntElement> {};
class TParamFloat final : public TTypedParam<TFloatElement> {};
class TParamFlag final : public TTypedParam<TFlagElement> {};
class TParamStr final : public TTypedParam<TStrElement> {};

}  // namespace tova
