// Packing a folder into an archive, the way the game builder ships data.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "vfs/big_stream.h"

namespace tova::sdk {

struct TPackOptions {
    std::string out;  // host paths (UTF-8)
    std::string dir;
    int version = 102;
    bool separateDirectory = false;       // directory into OUT's ".ext" file
    std::optional<std::string> appendTo;  // executable to put in front, with a trailer after
    int64_t partSize = kBigFilePartSize;
    // Symbolic links are skipped with a warning unless followed: a followed
    // link stores what it points to under the link's own name.
    bool followLinks = false;
    std::ostream* warnings = nullptr;
};

// The virtual names of every regular file below dir: relative, '\' between
// components, code page 932, sorted bytewise. Links are followed only with
// followLinks, else skipped with a line on warnings (when set). Throws
// ETovaError for a name that code page 932 cannot hold or two names that
// differ only in case.
std::vector<std::string> CollectPackNames(const std::string& hostDir,
                                          const std::vector<std::string>& skipHostPaths,
                                          bool followLinks = false, std::ostream* warnings = nullptr);

// Writes the archive; a failed pack leaves no output behind.
void PackDirectory(const TPackOptions& options);

}  // namespace tova::sdk
