// What the expressions ask of the running game that the engine knows: the
// arguments, sender and result of the page being run, the frame clock and
// the project's title and screen size. The rest answers as the defaults do
// until the screen, input and media exist.
#pragma once

#include "expr/sys_host.h"

namespace tova {

class TCallMan;
class TProject;
struct TRunFlags;

class TPlayerSysHost final : public TSysHost {
public:
    // callMan and project may be set later (the call manager is made by the
    // project); while null their values answer as the defaults do.
    explicit TPlayerSysHost(TRunFlags& flags) : flags_(flags) {}
    void SetCallMan(TCallMan* callMan) { callMan_ = callMan; }
    void SetProject(TProject* project) { project_ = project; }

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
    TRunFlags& flags_;
    TCallMan* callMan_ = nullptr;
    TProject* project_ = nullptr;
};

}  // namespace tova
