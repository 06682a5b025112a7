// The engine's role for the system functions: the arguments, sender and
// result of the page being run, the frame clock and the project's title and
// screen size.
#pragma once

#include <memory>

#include "expr/sys_host.h"

namespace tova {

class TCallMan;
class TProject;
struct TRunFlags;

class TPlayerSysHost final : public TScriptHost {
public:
    // Reads the call manager and the project through their owner's slots,
    // so that it can be made before them; while a slot is empty its values
    // answer as the defaults do.
    TPlayerSysHost(const TRunFlags& flags, const std::unique_ptr<TCallMan>& callMan,
                   const std::unique_ptr<TProject>& project)
        : flags_(flags), callMan_(callMan), project_(project) {}

    TCustomParam* ResultValue() override;
    int ParamCount() override;
    std::string ParamStr(int index) override;
    std::string Sender() override;
    int32_t TickCount() override;
    int32_t UpdateCount() override;
    std::string Title() override;
    int32_t ScreenWidth() override;
    int32_t ScreenHeight() override;
    std::string SaveFolder() override;

private:
    const TRunFlags& flags_;
    const std::unique_ptr<TCallMan>& callMan_;
    const std::unique_ptr<TProject>& project_;
};

}  // namespace tova
