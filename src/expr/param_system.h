// A system variable: every operation goes to the value that the collection's
// TSystemVariableHost names for SysIndex; where it names none, the defaults
// of a value without storage answer and writes are dropped. An index outside
// the table raises "内部エラー" on every operation.
#pragma once

#include <cstdint>

#include "expr/forwarding_param.h"

namespace tova {

class TParamCollection;

class TParamSystem final : public TForwardingParam<TParamSystem> {
public:
    // The owner's host is asked on every operation, so it may be replaced at any time.
    TParamSystem(uint8_t sysIndex, const TParamCollection& owner) : SysIndex(sysIndex), owner_(owner) {}

    // Never stored.
    int StoredType() const override { return PT_SYSTEM; }

    const uint8_t SysIndex;

private:
    friend class TForwardingParam<TParamSystem>;
    // The dispatch point: checks the index and asks the host.
    TCustomParam* ForwardTarget() const;

    const TParamCollection& owner_;
};

}  // namespace tova
