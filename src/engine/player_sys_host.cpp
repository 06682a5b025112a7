#include "engine/player_sys_host.h"

#include "core/error.h"
#include "core/path_names.h"
#include "engine/call_man.h"
#include "engine/project.h"
#include "engine/run_flags.h"

namespace tova {

TCustomParam* TPlayerSysHost::ResultValue() {
    return callMan_ ? callMan_->GetCallResult() : nullptr;
}
int TPlayerSysHost::ParamCount() {
    return callMan_ ? callMan_->ArgCount() : 0;
}
std::string TPlayerSysHost::ParamStr(int index) {
    return callMan_ ? callMan_->GetArg(index) : std::string();
}
std::string TPlayerSysHost::Sender() {
    return callMan_ ? callMan_->GetEventSourceName() : std::string();
}
int32_t TPlayerSysHost::TickCount() {
    return static_cast<int32_t>(flags_.TotalTime);
}
int32_t TPlayerSysHost::UpdateCount() {
    return flags_.FrameCount;
}
std::string TPlayerSysHost::Title() {
    return project_ ? project_->Title : std::string();
}
int32_t TPlayerSysHost::ScreenWidth() {
    return project_ ? project_->Width : 0;
}
int32_t TPlayerSysHost::ScreenHeight() {
    return project_ ? project_->Height : 0;
}

std::string TPlayerSysHost::SaveFolder() {
    if (!project_) return {};
    try {
        return ExtractFilePath(project_->GetSavePath());
    } catch (const ETovaError&) {
        return {};
    }
}

}  // namespace tova
