// One run of a game: the scripted input read, the player opened on the data,
// its frames (with the screenshots of given frames), the end page, the
// screenshot, the screen and variable dumps and the status record.
#pragma once

#include <ostream>
#include <string>

#include "engine/data_mount.h"
#include "shell/program_entry.h"

namespace tova {

// Opens the player, runs its frames and ends it. Returns 0 for a normal end
// and 1 when a screenshot or dump could not be written or the run ended
// before a frame asked for a screenshot (the reason on err). Throws
// ETovaError when the input script cannot be read or has a malformed line
// (the player does not start) or the project cannot start.
int RunPlayerSession(const std::string& executablePath, const TDataFolder& dataFolder,
                     const TPlayerArguments& arguments, std::ostream& out, std::ostream& err);

}  // namespace tova
