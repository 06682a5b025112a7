// Reading archives from the SDK tool: listing, extracting, printing one
// entry and checking the CRCs.
#pragma once

#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "vfs/file_collection.h"

namespace tova::sdk {

// Opens an archive file, a split archive's part 0, an executable with an
// appended archive or a data file with its ".ext" directory. Throws
// ETovaError when the file is missing or damaged.
std::unique_ptr<TVrFileCollection> OpenToolArchive(const std::string& hostPath, int64_t partSize);

// One line per entry: name TAB stored size TAB stored|zlib TAB CRC (8 hex digits).
void ListArchive(const TVrFileCollection& archive, std::ostream& out);

// Why an entry name may not be extracted (absolute, drive letter, empty
// or ".." component), or nullopt when it is safe.
std::optional<std::string> UnsafeNameReason(const std::string& name);

// "CRC xxxxxxxx does not match the stored yyyyyyyy" for an entry read as bad.
std::string CrcMismatch(const TVrFile& entry, const TEntryPieces& read);

// Writes one entry's inflated content, piece by piece (any size).
void CatEntry(TVrFileCollection& archive, const std::string& cp932Name, std::ostream& out);

// Checks each CRC the way its flag says, reading each entry piece by piece
// (any size); prints a line per bad entry and
// returns their number.
int VerifyArchive(TVrFileCollection& archive, std::ostream& out);

}  // namespace tova::sdk
