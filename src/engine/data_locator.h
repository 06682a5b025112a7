// Finding the game data of a player started without parameters: the install
// set "install.dat" beside the executable tells the game's title and whether
// the data was copied to the disk; otherwise the data disc of that title is
// looked for in the CD-ROM roots, asking the user to insert it.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "engine/install_set.h"

namespace tova {

class TMessageBoxHost;
class TVrFileManager;

struct TDataLocatorOptions {
    // Caption and text of the box that asks whether to give up.
    std::string QuitCaption;
    std::string QuitMessage;
    // How often "insert the disc" is asked before giving up; 0 asks until
    // the user gives up. A player without a person at the screen sets 1.
    int MaxDiscRequests = 0;
    std::ostream* Trace = nullptr;  // damaged install sets are reported here
};

// Mounts what it finds and returns the local install set, or nullopt when
// the data cannot be found (the user has been told).
std::optional<TTovaInstallSet> LocateData(TVrFileManager& files, std::string_view executablePath,
                                          TMessageBoxHost& messageBox, const TDataLocatorOptions& options);

// Reads an install set from a file on disk; nullopt (with a trace line) when
// it is damaged.
std::optional<TTovaInstallSet> ReadInstallSetFile(std::string_view programPath, std::ostream* trace);

}  // namespace tova
