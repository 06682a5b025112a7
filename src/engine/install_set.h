// The install set "install.dat": written by the game's installer (and by the
// SDK's game builder) beside the game data. The player needs only the title,
// which identifies the game's data discs, and whether the data was copied to
// the disk; every other field belongs to the installer and is skipped.
#pragma once

#include <cstdint>
#include <string>

#include "core/stream.h"

namespace tova {

class TTovaInstallSet {
public:
    // The version the writer produces; the reader knows every version up to it.
    static constexpr int32_t CurrentVersion = 108;

    int32_t Version = 0;
    std::string Title;
    bool DataInstalled = false;

    // Reads from the stream's position. Throws ETovaError on damaged or
    // truncated data; the fields are left unchanged then.
    void LoadFromStream(TStream& stream);

    // Writes the current version with Title and DataInstalled; the installer's
    // own fields are written empty.
    void SaveToStream(TStream& stream) const;
};

}  // namespace tova
