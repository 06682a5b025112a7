// The player's program entry: the rules that decide whether it runs at all
// (not from a CD-ROM, one player per data folder), the command line, the
// mounting of the data and the project's load and shutdown.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace tova {

// The command line split into the player's own options (they start with
// "--") and the parameters the game data rules see, in code page 932.
struct TPlayerArguments {
    std::vector<std::string> Parameters;
    bool Help = false;      // --help
    bool Headless = false;  // --headless: no window (the only mode so far)
};

// args are the host's (UTF-8) arguments after the program name; an unknown
// "--" option throws ETovaError.
TPlayerArguments SplitPlayerArguments(const std::vector<std::string>& args);

// The single-instance key of a data folder: upper-cased, with a trailing
// '\' added when missing, then every '\' replaced by '-'.
std::string InstanceKey(std::string_view dataFolder);

// The folder a key is made from, so that every way of naming one folder
// gives one key: made absolute and normalised (symbolic links resolved where
// it exists), its '/' delimiters written as '\'.
std::string InstanceFolder(std::string_view programFolder);

// Runs the player; returns the exit code: 0 for a normal end (also when it
// refuses to run from a CD-ROM or another player has the data), 1 when the
// project could not start (the reason goes to err), 2 for a wrong command line.
int RunPlayer(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tova
