// Where "save.dat" lives: in the folder the user chose; else in the data
// folder when it is writable and not a system folder; else in the user's data
// folder, in a folder named after the game's title. The rule is the same
// whether the data folder was given on the command line or is the player's own.
#pragma once

#include <string>
#include <string_view>

namespace tova {

// The folder name for a game's title: the title with each of
// \ / : , ; * ? " < > | and every control character replaced by '_'; a title
// that is empty or only dots ("", ".", "..") becomes '_' and one '_' per
// character; a name over 150 bytes is cut at a character and gets '~' and a
// hash of the whole title. Always one plain folder name.
std::string SaveFolderName(std::string_view title);

// The user's folder for the game: $XDG_DATA_HOME (an absolute path; else
// $HOME/.local/share) + "/tovaplayer/" + SaveFolderName(title) + '/'. A
// program path; throws "データファイルを作成することができません" when the
// system names no such folder.
std::string UserSaveFolder(std::string_view title);

// Whether an executable at that host path was installed with the system
// (below /usr or /opt), where a player never writes beside itself.
bool IsSystemInstalled(std::string_view executableHostPath);

// The save file for the game data in dataFolder (a program path ending in a
// delimiter), see above. The user's folder is created with its parents, and
// an existing save.dat of the data folder is copied into it unless one is
// there already. Throws "データファイルを作成することができません" (with the
// folder's host path) when the folder cannot be made.
std::string LocateSaveFile(std::string_view dataFolder, std::string_view title);

// The save file in a folder the user chose (a program path): the folder is
// created with its parents; throws as LocateSaveFile when it cannot be.
std::string ChosenSaveFile(std::string_view folder);

}  // namespace tova
