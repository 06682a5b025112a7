// The player's own files around a start: the old "tovaplay.log" beside the
// executable is deleted, and "game.ini" is read from beside the executable
// and then from the user's configuration folder for the game, which takes
// precedence (the executable's folder is often read-only on Linux, so the
// configuration dialog writes the user's file).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tova {

// Deletes "tovaplay.log" in the executable's folder when that folder is
// writable and the file is a regular file (never through a link).
void DeleteOldPlayerLog(const std::filesystem::path& executable);

// The "game.ini" files in the order they are read: beside the executable,
// then $XDG_CONFIG_HOME/tovaplayer/TITLE/game.ini (default ~/.config; TITLE
// as the save folder names it), when the environment names a home.
std::vector<std::filesystem::path> GameIniFiles(const std::filesystem::path& executable,
                                                std::string_view title);

}  // namespace tova
