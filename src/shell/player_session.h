// One run of a game: everything the project and the interpreter work with,
// made in dependency order, the frames between the project's start and its
// end, and the variable dump after the end page.
#pragma once

#include <ostream>
#include <string>

#include "shell/program_entry.h"

namespace tova {

// Mounts the data, loads the project, runs its frames and ends it. Returns
// 0 for a normal end and 1 when the project could not start (the reason on
// err) or the variable dump could not be written.
int RunPlayerSession(const std::string& executablePath, const TPlayerArguments& arguments, std::ostream& out,
                     std::ostream& err);

}  // namespace tova
