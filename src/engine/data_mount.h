// Mounting the game data before the project is created: the data folder and
// the archives, chosen by whether the player was given parameters.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tova {

class TVrFileManager;

// Where the game data lies, worked out once from the command line: the
// first parameter's folder, or the executable's folder without parameters.
struct TDataFolder {
    std::string Folder;  // code page 932, with a trailing delimiter
    bool FromParameters = false;
};
TDataFolder ResolveDataFolder(std::string_view executablePath, const std::vector<std::string>& parameters);

// Makes sure the memory collection stands at index 0, then:
// - without parameters, the data folder is the executable's folder; the
//   executable's resource "DUMMY" of type "BINTYPE" is mounted when its last
//   two bytes are "vf", and the executable itself when its last two bytes
//   are "tz" (an archive appended to it);
// - with parameters, the data folder is the first one; for every parameter
//   its folder's "game.dat" is mounted when it exists, and the parameter
//   itself when it names a file whose last two bytes are "tz".
// A damaged archive throws ETovaError.
void MountGameData(TVrFileManager& files, const TDataFolder& dataFolder, std::string_view executablePath,
                   const std::vector<std::string>& parameters);

// Whether the file exists and its last two bytes are tag.
bool FileEndsWith(std::string_view programPath, std::string_view tag);

}  // namespace tova
