// Extracting an archive into a host folder that may already hold files:
// every name is checked and every path planned before the first byte is
// written, files are created only below the folder and never through a link,
// each entry's CRC is checked, and the inflated total stays within a budget.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

#include "vfs/file_collection.h"

namespace tova::sdk {

struct TExtractOptions {
    // The most bytes all entries together may inflate to; nullopt: the free
    // space of the target's file system.
    std::optional<int64_t> maxBytes;
};

// Writes every entry below hostDir ('\' becoming '/', names in UTF-8) and
// returns the number of bad entries (a CRC that does not match, data that
// does not inflate), each reported on err and left unwritten. Throws
// ETovaError, before writing anything, for a name that is unsafe or cannot
// be a host name, for two entries of one path, for an entry that needs a
// folder where a file is (or the reverse), and for a link or anything but a
// folder or regular file already standing on an entry's path; and, after
// writing the entries before it, for the entry that passes the budget.
int ExtractArchive(TVrFileCollection& archive, const std::string& hostDir, const TExtractOptions& options,
                   std::ostream& err);

}  // namespace tova::sdk
