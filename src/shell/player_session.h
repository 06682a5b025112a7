// One run of a game: the player opened on the data, its frames, the end page,
// the variable dump and the status record.
#pragma once

#include <ostream>
#include <string>

#include "engine/data_mount.h"
#include "shell/program_entry.h"

namespace tova {

// Opens the player, runs its frames and ends it. Returns 0 for a normal end
// and 1 when the project could not start (the reason on err) or the variable
// dump could not be written.
int RunPlayerSession(const std::string& executablePath, const TDataFolder& dataFolder,
                     const TPlayerArguments& arguments, std::ostream& out, std::ostream& err);

}  // namespace tova
