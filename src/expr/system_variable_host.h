// What the system variables stand for. The player's state lives in higher
// layers; they register a host that tells, for a system variable index, the
// value object that answers its reads and writes at this moment.
#pragma once

namespace tova {

class TCustomParam;

class TSystemVariableHost {
public:
    virtual ~TSystemVariableHost() = default;

    // The value that system variable sysIndex (0..49) stands for now, or null
    // for the defaults of a value without storage. The default host has none.
    virtual TCustomParam* Resolve(int sysIndex);
};

}  // namespace tova
