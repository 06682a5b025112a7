// A system variable: every operation goes to the value that the collection's
// TSystemVariableHost names for SysIndex; where it names none, the defaults
// of a value without storage answer and writes are dropped. An index outside
// the table raises "内部エラー" on every operation.
#pragma once

#include <cstdint>
#include <string>

#include "expr/custom_param.h"
#include "expr/forwarding_param.h"

namespace tova {

class TParamCollection;

class TParamSystem final : public TForwardingParam {
public:
    // The owner's host is asked on every operation, so it may be replaced at any time.
    TParamSystem(uint8_t sysIndex, const TParamCollection& owner) : SysIndex(sysIndex), owner_(owner) {}

    // Never stored.
    int StoredType() const override { return PT_SYSTEM; }

    int GetCount() const override;
    void SetCount(int count) override;
    int GetParamType() const override;

    bool GetBool() const override;
    long double GetFloat() const override;
    int32_t GetInt() const override;
    std::string GetStr() const override;
    void SetBool(bool value) override;
    void SetFloat(long double value) override;
    void SetInt(int32_t value) override;
    void SetStr(std::string_view value) override;

    int32_t GetIntAt(int index) const override;
    void SetIntAt(int index, int32_t value) override;
    long double GetFloatAt(int index) const override;
    void SetFloatAt(int index, long double value) override;
    bool GetBoolAt(int index) const override;
    void SetBoolAt(int index, bool value) override;
    std::string GetStrAt(int index) const override;
    void SetStrAt(int index, std::string_view value) override;

    int GetDimCount() const override;
    int GetDimSize(int dim) const override;
    int IndexOfStr(std::string_view s, bool caseSensitive, bool partial) const override;

    const uint8_t SysIndex;

private:
    // The dispatch point: checks the index and asks the host.
    TCustomParam* Resolve() const;
    TCustomParam* ForwardTarget() const override { return Resolve(); }

    const TParamCollection& owner_;
};

}  // namespace tova
