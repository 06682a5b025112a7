// What the player does when save.dat lets it down: a file that does not read
// is renamed aside (never deleted) and the game starts afresh, a damaged
// saved game is set aside inside the file while the others stay usable, and
// a failed write is reported with the file's real path. Every message goes
// to the report stream (the player's standard error), in UTF-8.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"

namespace tova {

class TTpBigMemoryStream;
class TVrFileCollection;

// The name a damaged file or entry is kept under: name +
// ".damaged-YYYYMMDD-HHMMSS" (local time).
std::string DamagedName(std::string_view name, const TLocalDateTime& when);

// Opens the save file at path (a program path) as an archive collection.
// When it cannot be read as one (truncated, foreign bytes, empty), it is
// renamed to DamagedName(path) (a free name: "-2", "-3"... is added when
// taken), the user is told where it went, and saveFile is left empty, so the
// game starts with a fresh status record. Throws ETovaError when the damaged
// file cannot be moved out of the way.
void OpenSaveFile(TVrFileCollection& saveFile, const std::string& path, std::ostream& report);

// Keeps a copy of a save file whose content is damaged though it opens (its
// status record does not read) under DamagedName(path); the user is told.
void KeepDamagedCopy(const std::string& path, std::ostream& report);

// Renames the entries of saved games that do not read to
// DamagedName(entryName) inside the save file at path, keeping each one's
// content (its stored bytes when it does not even inflate), and rewrites the
// file once for all of them; the other entries are kept as they are. The
// user is told of each; a failure to rewrite is reported and leaves the file
// as it was. Returns whether the entries were set aside.
bool SetDamagedEntriesAside(const std::string& path, const std::vector<std::string>& entryNames,
                            std::ostream& report);

// Writes the memory image of a save file over the file at path (through a
// temporary file renamed over it, so the old file stays whole on failure).
// A failure is reported with the real host path and the reason; returns
// whether the file was written.
bool WriteSaveFile(TTpBigMemoryStream& image, const std::string& path, std::ostream& report);

}  // namespace tova
