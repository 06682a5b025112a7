// The common part of the values that have no elements of their own but stand
// for another value (references, system variables): the shape, fill and
// copy operations go to that value unchanged, or do nothing without one.
#pragma once

#include "expr/custom_param.h"

namespace tova {

class TForwardingParam : public TCustomParam {
public:
    void AssignRaw(const TCustomParam& src) override;
    void SetDims(const TDynamicIntArray& dims) override;
    void FillInt(int32_t value) override;
    void FillFloat(long double value) override;
    void FillBool(bool value) override;
    void FillStr(std::string_view value) override;
    void CopyMem(const TCustomParam& src) override;
    void MakeScalar() override;

protected:
    TForwardingParam() = default;
    // The value this one stands for right now, or null.
    virtual TCustomParam* ForwardTarget() const = 0;
};

}  // namespace tova
