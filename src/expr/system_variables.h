// The system variables as the player answers them: each index is served by a
// value object that reads and writes the state of the variable collection
// (@TextDelay, @Cursor, @SelStr, @SelIndex, @Temp) or of the layers above
// through a TSysHost. Register it on the collection with SetSystemHost.
#pragma once

#include <array>
#include <memory>

#include "expr/system_variable_host.h"
#include "expr/system_variable_names.h"
#include "expr/system_variables_values.h"

namespace tova {

class TParamCollection;
struct TSysHost;

class TSystemVariables final : public TSystemVariableHost {
public:
    // vars and host must outlive this object; a null host answers as the
    // default TSysHost does.
    explicit TSystemVariables(TParamCollection& vars, TSysHost* host = nullptr);
    ~TSystemVariables() override;

    void SetHost(TSysHost* host);
    TCustomParam* Resolve(int sysIndex) override;

private:
    void BuildValues();
    TSysHost& Host() const { return *host_; }
    // The variable named by TempTarget, or null when there is none or when
    // it leads back to @Temp itself.
    TCustomParam* TempValue() const;

    TParamCollection& vars_;
    std::unique_ptr<TSysHost> defaultHost_;
    TSysHost* host_;
    std::array<std::unique_ptr<TCustomParam>, kSystemVariableCount> values_;
    TSysNoValue none_;
};

}  // namespace tova
