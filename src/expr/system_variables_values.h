// The value objects behind the system variables: scalars whose reads and
// writes go to a getter and a setter, and the read-only arrays (key tables,
// call arguments, MIDI ports). Reads convert like the data classes do; writes
// follow the system variable rules: a boolean written from a string takes the
// string's integer value (so "1" sets it and "TRUE" clears it) while an
// element write from a string compares with "TRUE"; an integer written from a
// string that does not parse keeps its value. Element operations of a scalar
// act on the scalar whatever the index; shape changes are ignored.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "expr/custom_param.h"

namespace tova {

// What every system value shares: it is never stored and keeps its shape.
class TSysValue : public TCustomParam {
public:
    int StoredType() const override { return PT_SYSTEM; }
    void SetCount(int) override {}
    void AssignRaw(const TCustomParam&) override {}
    void SetDims(const TDynamicIntArray&) override {}
    void CopyMem(const TCustomParam&) override {}
    void MakeScalar() override {}
    void SaveToStream(TStream&) const override {}
    void LoadFromStream(TStream&) override {}
};

// A scalar: element reads and writes go to the scalar.
class TSysScalar : public TSysValue {
public:
    int32_t GetIntAt(int) const override { return GetInt(); }
    void SetIntAt(int, int32_t value) override { SetInt(value); }
    long double GetFloatAt(int) const override { return GetFloat(); }
    void SetFloatAt(int, long double value) override { SetFloat(value); }
    bool GetBoolAt(int) const override { return GetBool(); }
    void SetBoolAt(int, bool value) override { SetBool(value); }
    std::string GetStrAt(int) const override { return GetStr(); }
    void SetStrAt(int, std::string_view value) override { SetStr(value); }
};

// The setters may be empty: the variable is read-only and writes are dropped.
class TSysBool final : public TSysScalar {
public:
    TSysBool(std::function<bool()> get, std::function<void(bool)> set = {})
        : get_(std::move(get)), set_(std::move(set)) {}

    int GetParamType() const override { return PT_BOOL; }
    bool GetBool() const override { return get_(); }
    long double GetFloat() const override { return get_() ? 1.0L : 0.0L; }
    int32_t GetInt() const override { return get_() ? 1 : 0; }
    std::string GetStr() const override;
    void SetBool(bool value) override { Store(value); }
    void SetFloat(long double value) override { Store(value != 0.0L); }
    void SetInt(int32_t value) override { Store(value != 0); }
    void SetStr(std::string_view value) override;
    void SetStrAt(int index, std::string_view value) override;
    void FillBool(bool value) override { Store(value); }

private:
    void Store(bool value) {
        if (set_) set_(value);
    }

    std::function<bool()> get_;
    std::function<void(bool)> set_;
};

class TSysInt final : public TSysScalar {
public:
    TSysInt(std::function<int32_t()> get, std::function<void(int32_t)> set = {})
        : get_(std::move(get)), set_(std::move(set)) {}

    int GetParamType() const override { return PT_INT; }
    bool GetBool() const override { return get_() != 0; }
    long double GetFloat() const override { return get_(); }
    int32_t GetInt() const override { return get_(); }
    std::string GetStr() const override;
    void SetBool(bool value) override { Store(value ? 1 : 0); }
    void SetFloat(long double value) override;
    void SetInt(int32_t value) override { Store(value); }
    void SetStr(std::string_view value) override;
    void FillInt(int32_t value) override { Store(value); }

private:
    void Store(int32_t value) {
        if (set_) set_(value);
    }

    std::function<int32_t()> get_;
    std::function<void(int32_t)> set_;
};

// The float system variables are constants.
class TSysFloat final : public TSysScalar {
public:
    explicit TSysFloat(long double value) : value_(value) {}

    int GetParamType() const override { return PT_FLOAT; }
    bool GetBool() const override { return value_ != 0.0L; }
    long double GetFloat() const override { return value_; }
    int32_t GetInt() const override;
    std::string GetStr() const override;

private:
    long double value_;
};

class TSysStr final : public TSysScalar {
public:
    TSysStr(std::function<std::string()> get, std::function<void(std::string_view)> set = {})
        : get_(std::move(get)), set_(std::move(set)) {}

    int GetParamType() const override { return PT_STR; }
    bool GetBool() const override;
    long double GetFloat() const override;
    int32_t GetInt() const override;
    std::string GetStr() const override { return get_(); }
    void SetBool(bool value) override;
    void SetFloat(long double value) override;
    void SetInt(int32_t value) override;
    void SetStr(std::string_view value) override { Store(value); }
    void FillStr(std::string_view value) override { Store(value); }

private:
    void Store(std::string_view value) {
        if (set_) set_(value);
    }

    std::function<std::string()> get_;
    std::function<void(std::string_view)> set_;
};

// A read-only one-dimensional array whose elements are read through a
// function; indices outside 0..count-1 read as the default element.
class TSysArray : public TSysValue {
public:
    int GetDimCount() const override { return 1; }
    int GetDimSize(int dim) const override { return dim == 0 ? GetCount() : 1; }

protected:
    bool InRange(int index) const { return index >= 0 && index < GetCount(); }
};

// The key tables: the scalar is false, elements 0..255 are virtual keys.
class TSysBoolArray final : public TSysArray {
public:
    TSysBoolArray(int count, std::function<bool(int)> element)
        : count_(count), element_(std::move(element)) {}

    int GetCount() const override { return count_; }
    int GetParamType() const override { return PT_BOOL; }
    int32_t GetIntAt(int index) const override { return GetBoolAt(index) ? 1 : 0; }
    long double GetFloatAt(int index) const override { return GetBoolAt(index) ? 1.0L : 0.0L; }
    bool GetBoolAt(int index) const override { return InRange(index) && element_(index); }
    std::string GetStrAt(int index) const override;

private:
    int count_;
    std::function<bool(int)> element_;
};

// A list of texts, such as the arguments of the current call.
class TSysStrArray final : public TSysArray {
public:
    TSysStrArray(std::function<std::string()> scalar, std::function<int()> count,
                 std::function<std::string(int)> element)
        : scalar_(std::move(scalar)), count_(std::move(count)), element_(std::move(element)) {}

    int GetCount() const override { return count_(); }
    int GetParamType() const override { return PT_STR; }
    bool GetBool() const override;
    long double GetFloat() const override;
    int32_t GetInt() const override;
    std::string GetStr() const override { return scalar_(); }
    int32_t GetIntAt(int index) const override;
    long double GetFloatAt(int index) const override;
    bool GetBoolAt(int index) const override;
    std::string GetStrAt(int index) const override {
        return InRange(index) ? element_(index) : std::string();
    }

private:
    std::function<std::string()> scalar_;
    std::function<int()> count_;
    std::function<std::string(int)> element_;
};

// What a forwarding system variable (@Result, @Temp) answers when it stands
// for nothing: type 0 and the defaults of a value without storage.
class TSysNoValue final : public TSysValue {
public:
    int GetParamType() const override { return PT_NONE; }
};

}  // namespace tova
